// Looks at Quarvel and the list fixture from another process, for the
// end-to-end driver, which cannot see inside Wine by itself.
//
// Reads one command per line on standard input and answers each with one line
// of JSON on standard output, so that one process serves a whole test run
// (a 32-bit process start costs tens of seconds under emulation):
//   dialogs               top-level Quarvel dialogs: {"dialogs":[hwnd,...]}
//   state HWND            a Quarvel dialog: rectangles, control texts, focus
//   children HWND         every child window, the static controls without ids too
//   about HWND            the About box owned by HWND
//   fixture TITLE         the list fixture's windows and lists
//   window HWND           one window's rectangle, text, class, X window
//   point X Y             the window at a screen point
//   workarea              the desktop work area
//   clipboard             CF_TEXT and CF_UNICODETEXT bytes (hex) and block sizes
//   setclip TEXT          puts TEXT on the clipboard as CF_TEXT
//   holdclip              opens the clipboard and keeps it open, as a clipboard
//                         manager does for a moment (no other command reads it)
//   releaseclip           closes it again
//   raise HWND            puts a top-level window above the others
//   send HWND MSG [W [L]] sends a message, waiting two seconds at most
//   post HWND MSG [W [L]] posts a message (WM_APP + 1 hangs the fixture's thread)
//   quit
// Every answer has "ok"; messages to other windows time out instead of waiting
// on a program that does not answer.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/scoped.h"
#include <string>
#include <vector>

namespace {

constexpr UINT kSendTimeoutMs = 2000;
const int kDialogControls[] = { 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 57664 };
const int kFixtureControls[] = { 101, 102, 103, 104, 105, 106, 107 };
const int kFixtureOtherControls[] = { 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311 };

// Minimal JSON text building: values are appended in order, the caller keeps
// the commas and brackets right.
class Json {
public:
    Json& Key(const char* key)
    {
        Separate();
        Quote(key);
        out += ':';
        pendingValue = true;
        return *this;
    }
    Json& Open(char bracket)
    {
        Separate();
        out += bracket;
        first = true;
        return *this;
    }
    Json& Close(char bracket)
    {
        out += bracket;
        first = false;
        return *this;
    }
    Json& Number(long long value)
    {
        Separate();
        out += std::to_string(value);
        return *this;
    }
    Json& Bool(bool value)
    {
        Separate();
        out += value ? "true" : "false";
        return *this;
    }
    Json& Null()
    {
        Separate();
        out += "null";
        return *this;
    }
    Json& String(const std::string& utf8)
    {
        Separate();
        Quote(utf8);
        return *this;
    }
    const std::string& Text() const { return out; }

private:
    void Separate()
    {
        if (pendingValue) {
            pendingValue = false;
        } else if (!first) {
            out += ',';
        }
        first = false;
    }
    void Quote(const std::string& utf8)
    {
        out += '"';
        for (unsigned char c : utf8)
            AppendEscaped(c);
        out += '"';
    }
    void AppendEscaped(unsigned char c)
    {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }

    std::string out;
    bool first = true;
    bool pendingValue = false;
};

std::string Utf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::string Hex(const unsigned char* bytes, size_t count)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 0xF];
    }
    return hex;
}

long long HandleValue(HWND window)
{
    return static_cast<long long>(reinterpret_cast<UINT_PTR>(window));
}

HWND HandleFrom(const std::string& text)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text.c_str(), nullptr, 0)));
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    return SendMessageTimeoutW(
               window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, result)
        != 0;
}

// Wide text through WM_GETTEXT; false when the window did not answer in time.
bool ReadText(HWND window, std::wstring* text)
{
    DWORD_PTR length = 0;
    if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length))
        return false;
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied))
        return false;
    text->assign(buffer.data(), copied < buffer.size() ? copied : length);
    return true;
}

// The ANSI bytes a reader using the "A" calls gets, which is what Quarvel
// puts on the clipboard.
bool ReadAnsiBytes(HWND window, std::string* bytes)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return false;
    std::vector<char> buffer(2 * length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
            SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return false;
    bytes->assign(buffer.data(), std::strlen(buffer.data()));
    return true;
}

void WriteRect(Json& json, const char* key, const RECT& rect)
{
    json.Key(key)
        .Open('[')
        .Number(rect.left)
        .Number(rect.top)
        .Number(rect.right)
        .Number(rect.bottom)
        .Close(']');
}

// The X window Wine made for a top-level window, for xdotool.
long long XWindowOf(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    HANDLE property = GetPropA(top ? top : window, "__wine_x11_whole_window");
    return static_cast<long long>(reinterpret_cast<UINT_PTR>(property));
}

void WriteWindow(Json& json, HWND window)
{
    json.Open('{');
    json.Key("hwnd").Number(HandleValue(window));
    json.Key("exists").Bool(IsWindow(window) != FALSE);
    RECT rect = {};
    GetWindowRect(window, &rect);
    WriteRect(json, "rect", rect);
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    WriteRect(json, "client", client);
    char className[128] = {};
    GetClassNameA(window, className, sizeof className);
    json.Key("class").String(className);
    std::wstring text;
    if (ReadText(window, &text)) {
        json.Key("text").String(Utf8(text));
    } else {
        json.Key("text").Null();
    }
    json.Key("visible").Bool(IsWindowVisible(window) != FALSE);
    json.Key("enabled").Bool(IsWindowEnabled(window) != FALSE);
    json.Key("id").Number(GetDlgCtrlID(window));
    json.Key("style").Number(static_cast<long long>(GetWindowLongW(window, GWL_STYLE)) & 0xFFFFFFFFLL);
    json.Key("owner").Number(HandleValue(GetWindow(window, GW_OWNER)));
    json.Key("root").Number(HandleValue(GetAncestor(window, GA_ROOT)));
    json.Key("xid").Number(XWindowOf(window));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    json.Key("pid").Number(process);
    json.Close('}');
}

// Focus, active window and capture of the thread that owns `window`.
void WriteThreadState(Json& json, HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const bool known = thread && GetGUIThreadInfo(thread, &info);
    json.Key("focus_hwnd").Number(known ? HandleValue(info.hwndFocus) : 0);
    json.Key("focus_id");
    if (known && info.hwndFocus && GetParent(info.hwndFocus) == window) {
        json.Number(GetDlgCtrlID(info.hwndFocus));
    } else {
        json.Null();
    }
    json.Key("active").Number(known ? HandleValue(info.hwndActive) : 0);
    json.Key("capture").Number(known ? HandleValue(info.hwndCapture) : 0);
    json.Key("foreground").Number(HandleValue(GetForegroundWindow()));
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

// Every child, also the static controls that share id -1 and so cannot be
// found by id.
void WriteChildren(Json& json, HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    json.Key("children").Open('[');
    for (HWND child : children)
        if (GetParent(child) == parent)
            WriteWindow(json, child);
    json.Close(']');
}

struct DialogSearch {
    const wchar_t* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    wchar_t className[64] = {};
    wchar_t caption[64] = {};
    GetClassNameW(window, className, 64);
    InternalGetWindowText(window, caption, 64);
    if (std::wcscmp(className, L"#32770") == 0 && std::wcscmp(caption, search->caption) == 0)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelDialogs(const wchar_t* caption)
{
    DialogSearch search { caption, {} };
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string OnDialogs()
{
    Json json;
    json.Open('{').Key("ok").Bool(true).Key("dialogs").Open('[');
    for (HWND window : TopLevelDialogs(L"Quarvel"))
        json.Number(HandleValue(window));
    json.Close(']').Close('}');
    return json.Text();
}

std::string OnState(HWND dialog)
{
    Json json;
    json.Open('{').Key("ok").Bool(IsWindow(dialog) != FALSE);
    json.Key("window");
    WriteWindow(json, dialog);
    WriteThreadState(json, dialog);
    json.Key("controls").Open('{');
    for (int id : kDialogControls) {
        json.Key(std::to_string(id).c_str());
        WriteWindow(json, GetDlgItem(dialog, id));
    }
    json.Close('}');
    std::string bytes;
    json.Key("contents_ansi_hex");
    if (ReadAnsiBytes(GetDlgItem(dialog, 1005), &bytes)) {
        json.String(Hex(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    } else {
        json.Null();
    }
    json.Close('}');
    return json.Text();
}

std::string OnChildren(HWND parent)
{
    Json json;
    json.Open('{').Key("ok").Bool(IsWindow(parent) != FALSE);
    WriteChildren(json, parent);
    json.Close('}');
    return json.Text();
}

std::string OnAbout(HWND owner)
{
    Json json;
    HWND box = nullptr;
    for (HWND window : TopLevelDialogs(L"About"))
        if (!owner || GetWindow(window, GW_OWNER) == owner)
            box = window;
    json.Open('{').Key("ok").Bool(box != nullptr);
    if (box) {
        json.Key("window");
        WriteWindow(json, box);
        WriteThreadState(json, box);
        json.Key("ok_button");
        WriteWindow(json, GetDlgItem(box, IDOK));
    }
    json.Close('}');
    return json.Text();
}

// The fixture's window with the Japanese caption: the one of the process
// that owns `main`.
HWND TitledWindowOf(HWND main)
{
    DWORD fixture = 0;
    GetWindowThreadProcessId(main, &fixture);
    HWND titled = nullptr;
    while ((titled = FindWindowExA(nullptr, titled, "QuarvelListFixtureTitled", nullptr))) {
        DWORD process = 0;
        GetWindowThreadProcessId(titled, &process);
        if (process == fixture)
            return titled;
    }
    return nullptr;
}

std::string OnFixture(const std::string& title)
{
    Json json;
    HWND main = FindWindowA("QuarvelListFixture", title.c_str());
    HWND hung = FindWindowA(nullptr, (title + " (hung)").c_str());
    HWND others = FindWindowA(nullptr, (title + " (controls)").c_str());
    json.Open('{').Key("ok").Bool(main != nullptr && hung != nullptr && others != nullptr);
    if (main) {
        json.Key("main");
        WriteWindow(json, main);
        json.Key("controls").Open('{');
        for (int id : kFixtureControls) {
            json.Key(std::to_string(id).c_str());
            WriteWindow(json, GetDlgItem(main, id));
        }
        for (int id : kFixtureOtherControls) {
            json.Key(std::to_string(id).c_str());
            WriteWindow(json, GetDlgItem(others, id));
        }
        json.Close('}');
    }
    if (HWND titled = TitledWindowOf(main)) {
        json.Key("titled");
        WriteWindow(json, titled);
    }
    if (hung) {
        json.Key("hung");
        WriteWindow(json, hung);
        json.Key("hung_list");
        WriteWindow(json, GetDlgItem(hung, 201));
    }
    json.Close('}');
    return json.Text();
}

std::string OnWindow(HWND window)
{
    Json json;
    json.Open('{').Key("ok").Bool(IsWindow(window) != FALSE).Key("window");
    WriteWindow(json, window);
    json.Close('}');
    return json.Text();
}

std::string OnPoint(int x, int y)
{
    Json json;
    json.Open('{').Key("ok").Bool(true).Key("window");
    WriteWindow(json, WindowFromPoint(POINT { x, y }));
    json.Close('}');
    return json.Text();
}

std::string OnWorkArea()
{
    RECT area = {};
    const bool ok = SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) != FALSE;
    Json json;
    json.Open('{').Key("ok").Bool(ok);
    WriteRect(json, "workarea", area);
    json.Key("screen")
        .Open('[')
        .Number(GetSystemMetrics(SM_CXSCREEN))
        .Number(GetSystemMetrics(SM_CYSCREEN))
        .Close(']');
    json.Close('}');
    return json.Text();
}

// One entry's whole block, zero padding included, so the driver can check
// both the text and the block size the writer chose.
void WriteBlock(Json& json, UINT format, const char* sizeKey, const char* hexKey)
{
    HGLOBAL block = GetClipboardData(format);
    if (!block)
        return;
    const SIZE_T size = GlobalSize(block);
    json.Key(sizeKey).Number(static_cast<long long>(size));
    ScopedGlobalLock lock(block);
    json.Key(hexKey);
    if (lock.Address()) {
        json.String(Hex(static_cast<const unsigned char*>(lock.Address()), size));
    } else {
        json.Null();
    }
}

std::string OnClipboard()
{
    Json json;
    ScopedClipboard clipboard(nullptr);
    json.Open('{').Key("ok").Bool(clipboard.IsSet());
    if (clipboard.IsSet()) {
        json.Key("sequence").Number(GetClipboardSequenceNumber());
        json.Key("has_text").Bool(IsClipboardFormatAvailable(CF_TEXT) != FALSE);
        json.Key("has_block").Bool(GetClipboardData(CF_TEXT) != nullptr);
        WriteBlock(json, CF_TEXT, "size", "hex");
        WriteBlock(json, CF_UNICODETEXT, "unicode_size", "unicode_hex");
    }
    json.Close('}');
    return json.Text();
}

std::string OnSetClipboard(const std::string& text)
{
    Json json;
    ScopedClipboard clipboard(nullptr);
    bool placed = false;
    if (clipboard.IsSet() && EmptyClipboard()) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
        if (block) {
            {
                ScopedGlobalLock lock(block);
                if (lock.Address())
                    std::memcpy(lock.Address(), text.c_str(), text.size() + 1);
            }
            placed = SetClipboardData(CF_TEXT, block) != nullptr;
            if (!placed)
                GlobalFree(block);
        }
    }
    json.Open('{').Key("ok").Bool(placed).Close('}');
    return json.Text();
}

std::string OnPost(std::istringstream& arguments)
{
    std::string window, message, wParam = "0", lParam = "0";
    arguments >> window >> message >> wParam >> lParam;
    const BOOL posted
        = PostMessageW(HandleFrom(window), static_cast<UINT>(std::strtoul(message.c_str(), nullptr, 0)),
            static_cast<WPARAM>(std::strtoull(wParam.c_str(), nullptr, 0)),
            static_cast<LPARAM>(std::strtoll(lParam.c_str(), nullptr, 0)));
    Json json;
    json.Open('{').Key("ok").Bool(posted != FALSE).Close('}');
    return json.Text();
}

// Puts a top-level window above the others without activating it, so that a
// later drag finds it under the cursor.
std::string OnRaise(HWND window)
{
    const BOOL moved = SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Json json;
    json.Open('{').Key("ok").Bool(moved != FALSE).Close('}');
    return json.Text();
}

// Sends a message with a timeout and reports the answer and how long it took.
std::string OnSend(std::istringstream& arguments)
{
    std::string window, message, wParam = "0", lParam = "0";
    arguments >> window >> message >> wParam >> lParam;
    DWORD_PTR result = 0;
    const DWORD started = GetTickCount();
    const LRESULT answered = SendMessageTimeoutW(HandleFrom(window),
        static_cast<UINT>(std::strtoul(message.c_str(), nullptr, 0)),
        static_cast<WPARAM>(std::strtoull(wParam.c_str(), nullptr, 0)),
        static_cast<LPARAM>(std::strtoll(lParam.c_str(), nullptr, 0)), SMTO_ABORTIFHUNG, kSendTimeoutMs,
        &result);
    Json json;
    json.Open('{').Key("ok").Bool(answered != 0);
    json.Key("result").Number(static_cast<long long>(static_cast<LONG_PTR>(result)));
    json.Key("ms").Number(static_cast<long long>(GetTickCount() - started));
    json.Close('}');
    return json.Text();
}

std::string RestOfLine(std::istringstream& arguments)
{
    std::string rest;
    std::getline(arguments, rest);
    if (!rest.empty() && rest[0] == ' ')
        rest.erase(0, 1);
    return rest;
}

std::string Answer(const std::string& line, bool* quit)
{
    std::istringstream arguments(line);
    std::string command, first;
    arguments >> command;
    if (command == "dialogs")
        return OnDialogs();
    if (command == "fixture")
        return OnFixture(RestOfLine(arguments));
    if (command == "setclip")
        return OnSetClipboard(RestOfLine(arguments));
    if (command == "workarea")
        return OnWorkArea();
    if (command == "clipboard")
        return OnClipboard();
    if (command == "holdclip" || command == "releaseclip") {
        const bool done = command == "holdclip" ? OpenClipboard(nullptr) != FALSE : CloseClipboard() != FALSE;
        return done ? "{\"ok\":true}" : "{\"ok\":false}";
    }
    if (command == "post")
        return OnPost(arguments);
    if (command == "send")
        return OnSend(arguments);
    if (command == "point") {
        int x = 0, y = 0;
        arguments >> x >> y;
        return OnPoint(x, y);
    }
    arguments >> first;
    if (command == "state")
        return OnState(HandleFrom(first));
    if (command == "about")
        return OnAbout(HandleFrom(first));
    if (command == "children")
        return OnChildren(HandleFrom(first));
    if (command == "window")
        return OnWindow(HandleFrom(first));
    if (command == "raise")
        return OnRaise(HandleFrom(first));
    if (command == "quit") {
        *quit = true;
        return "{\"ok\":true}";
    }
    Json json;
    json.Open('{').Key("ok").Bool(false).Key("error").String("unknown command: " + command).Close('}');
    return json.Text();
}

bool ReadLine(HANDLE input, std::string* line)
{
    line->clear();
    char c = 0;
    DWORD read = 0;
    while (ReadFile(input, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n')
            return true;
        if (c != '\r')
            *line += c;
    }
    return !line->empty();
}

void WriteLine(HANDLE output, std::string text)
{
    text += '\n';
    DWORD written = 0;
    WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string line;
    bool quit = false;
    WriteLine(output, "{\"ok\":true,\"ready\":true}");
    while (!quit && ReadLine(input, &line))
        WriteLine(output, Answer(line, &quit));
    return 0;
}
