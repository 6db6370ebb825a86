#include "cli/arguments.h"

#include <cwchar>
#include <cwctype>

namespace {

// The longest wait a script may ask for one answer: an hour.
constexpr unsigned long kLongestTimeout = 60UL * 60 * 1000;

// Digits only, in the given base, within `most`: no sign, no spaces, no
// suffix, so that "12abc" or "-1" is a mistake and not a surprise.
bool ParseUnsigned(const std::wstring& text, int base, unsigned long most, unsigned long& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    unsigned long long number = 0;
    for (wchar_t c : text) {
        int digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (base == 16 && std::iswxdigit(c))
            digit = std::towlower(c) - L'a' + 10;
        else
            return false;
        number = number * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (number > most)
        return false;
    value = static_cast<unsigned long>(number);
    return true;
}

bool ParseSigned(const std::wstring& text, long& value)
{
    const bool negative = !text.empty() && text[0] == L'-';
    unsigned long magnitude = 0;
    if (!ParseUnsigned(negative ? text.substr(1) : text, 10, 0x7FFFFFFFUL, magnitude))
        return false;
    value = negative ? -static_cast<long>(magnitude) : static_cast<long>(magnitude);
    return true;
}

bool ParsePoint(const std::wstring& text, long& x, long& y)
{
    const std::size_t comma = text.find(L',');
    return comma != std::wstring::npos && ParseSigned(text.substr(0, comma), x) &&
           ParseSigned(text.substr(comma + 1), y);
}

bool ParseFormat(const std::wstring& text, OutputFormat& format)
{
    if (text == L"text")
        format = OutputFormat::text;
    else if (text == L"csv")
        format = OutputFormat::csv;
    else if (text == L"json")
        format = OutputFormat::json;
    else
        return false;
    return true;
}

// Walks the arguments once; each option takes its value from the next one.
class Parser {
public:
    explicit Parser(const std::vector<std::wstring>& arguments) : arguments(arguments) {}

    ParsedArguments Parse();

private:
    bool Take(const std::wstring& argument);
    bool TakeValue(const std::wstring& argument);
    bool Value(const std::wstring& option, std::wstring& value);
    bool SetTarget(Target target, const std::wstring& what);
    bool Fail(const std::wstring& error);
    bool Check();

    const std::vector<std::wstring>& arguments;
    std::size_t next = 0;
    ParsedArguments parsed;
    bool targetGiven = false;
    bool classGiven = false;
    bool nthGiven = false;
    bool formatGiven = false;
};

ParsedArguments Parser::Parse()
{
    bool help = false;
    bool version = false;
    for (const std::wstring& argument : arguments) {
        help = help || argument == L"--help" || argument == L"-h" || argument == L"/?";
        version = version || argument == L"--version";
    }
    // Asking for help is never a mistake, whatever else the line holds.
    if (help || version) {
        parsed.request.target = help ? Target::help : Target::version;
        return parsed;
    }
    while (next < arguments.size() && Take(arguments[next++])) {
    }
    if (parsed.error.empty())
        Check();
    return parsed;
}

bool Parser::Take(const std::wstring& argument)
{
    Request& request = parsed.request;
    if (argument == L"--count") {
        request.countOnly = true;
        return true;
    }
    if (argument == L"--utf16") {
        request.utf16 = true;
        return true;
    }
    if (argument == L"--list") {
        if (!SetTarget(Target::list, argument))
            return false;
        // Its title is optional: the next argument, unless it is an option.
        if (next < arguments.size() && arguments[next].compare(0, 2, L"--") != 0)
            request.title = arguments[next++];
        return true;
    }
    if (argument.compare(0, 2, L"--") == 0)
        return TakeValue(argument);
    if (!SetTarget(Target::window, argument))
        return false;
    return ParseHandle(argument, request.handle) || Fail(L"not a window handle: " + argument);
}

bool Parser::TakeValue(const std::wstring& option)
{
    Request& request = parsed.request;
    std::wstring value;
    if (option == L"--at")
        return SetTarget(Target::point, option) && Value(option, value) &&
               (ParsePoint(value, request.x, request.y) || Fail(L"--at needs X,Y: " + value));
    if (option == L"--find")
        return SetTarget(Target::find, option) && Value(option, request.title);
    if (option == L"--class") {
        classGiven = true;
        return Value(option, request.className);
    }
    if (option == L"--nth") {
        nthGiven = true;
        return Value(option, value) && ((ParseUnsigned(value, 10, 0x7FFFFFFFUL, request.nth) && request.nth > 0) ||
                                        Fail(L"--nth needs a number from 1: " + value));
    }
    if (option == L"--format") {
        formatGiven = true;
        return Value(option, value) &&
               (ParseFormat(value, request.format) || Fail(L"--format is text, csv or json, not " + value));
    }
    if (option == L"--timeout") {
        unsigned long timeout = 0;
        if (!Value(option, value) || !ParseUnsigned(value, 10, kLongestTimeout, timeout) || timeout == 0)
            return Fail(L"--timeout needs milliseconds from 1 to 3600000: " + value);
        request.timeout = static_cast<UINT>(timeout);
        return true;
    }
    return Fail(L"unknown option " + option);
}

bool Parser::Value(const std::wstring& option, std::wstring& value)
{
    if (next >= arguments.size())
        return Fail(option + L" needs a value");
    value = arguments[next++];
    return true;
}

bool Parser::SetTarget(Target target, const std::wstring& what)
{
    if (targetGiven)
        return Fail(L"one window at a time: " + what + L" comes after another");
    targetGiven = true;
    parsed.request.target = target;
    return true;
}

bool Parser::Fail(const std::wstring& error)
{
    if (parsed.error.empty())
        parsed.error = error;
    return false;
}

bool Parser::Check()
{
    const Request& request = parsed.request;
    if (!targetGiven)
        return Fail(L"no window given");
    if ((classGiven || nthGiven) && request.target != Target::find)
        return Fail(L"--class and --nth go with --find");
    if (request.target == Target::list && (request.countOnly || formatGiven))
        return Fail(L"--list writes its own lines: no --count or --format");
    return true;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments)
{
    return Parser(arguments).Parse();
}

bool ParseHandle(const std::wstring& text, unsigned long& handle)
{
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return ParseUnsigned(text.substr(2), 16, 0xFFFFFFFFUL, handle) && handle != 0;
    return ParseUnsigned(text, 10, 0xFFFFFFFFUL, handle) && handle != 0;
}
