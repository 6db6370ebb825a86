// The resources as they come out of the built executable, read back raw:
// both dialog templates control by control, the icon, the version record, the
// language of every resource, and the DPI awareness and code page the
// manifest declares.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"

namespace {

const WORD kUkEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
static_assert(kUkEnglish == 0x0809, "English (United Kingdom)");

std::string ExecutableBesideTests()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory + QUARVEL_EXE_NAME;
}

// Quarvel.exe loaded for its resources only.
class ResourcesTest : public testing::Test {
protected:
    static HMODULE module;

    static void SetUpTestSuite()
    {
        module = LoadLibraryExA(ExecutableBesideTests().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(module) << ExecutableBesideTests(); }

    std::vector<BYTE> Resource(LPCSTR type, LPCSTR name) const
    {
        HRSRC found = FindResourceExA(module, type, name, kUkEnglish);
        if (!found)
            return {};
        HGLOBAL loaded = LoadResource(module, found);
        const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
        if (!bytes)
            return {};
        return std::vector<BYTE>(bytes, bytes + SizeofResource(module, found));
    }
};

HMODULE ResourcesTest::module = nullptr;

// Reads little-endian words, DWORD alignment and the name-or-ordinal fields
// of the resource formats, refusing to run past the end.
class Reader {
public:
    explicit Reader(const std::vector<BYTE>& bytes, size_t start = 0, size_t end = SIZE_MAX)
        : bytes(bytes), offset(start), end(end < bytes.size() ? end : bytes.size())
    {
    }

    bool ok = true;

    WORD Word()
    {
        if (offset + 2 > end) {
            ok = false;
            return 0;
        }
        const WORD value = WORD(bytes[offset] | (bytes[offset + 1] << 8));
        offset += 2;
        return value;
    }
    DWORD Dword()
    {
        const WORD low = Word();
        return DWORD(low) | (DWORD(Word()) << 16);
    }
    short Short() { return short(Word()); }

    // Zero-terminated UTF-16 text; the texts checked here are ASCII.
    std::string Text()
    {
        std::string text;
        for (WORD unit = Word(); ok && unit != 0; unit = Word())
            text += unit < 0x80 ? char(unit) : '?';
        return text;
    }

    // 0x0000: none; 0xFFFF then an ordinal; otherwise text.
    struct NameOrOrdinal {
        bool none = false;
        bool isOrdinal = false;
        WORD ordinal = 0;
        std::string text;
    };
    NameOrOrdinal Name()
    {
        NameOrOrdinal name;
        if (offset + 2 <= end && bytes[offset] == 0 && bytes[offset + 1] == 0) {
            Word();
            name.none = true;
        } else if (offset + 2 <= end && bytes[offset] == 0xFF && bytes[offset + 1] == 0xFF) {
            Word();
            name.isOrdinal = true;
            name.ordinal = Word();
        } else {
            name.text = Text();
        }
        return name;
    }

    void AlignDword() { offset = (offset + 3) & ~size_t(3); }
    size_t Offset() const { return offset; }
    size_t End() const { return end; }
    void Skip(size_t count) { offset += count; }

private:
    const std::vector<BYTE>& bytes;
    size_t offset;
    size_t end;
};

struct ExpectedControl {
    WORD classOrdinal;  // 0x80 button, 0x81 edit, 0x82 static
    WORD id;
    const char* text;   // null: the icon, by ordinal
    DWORD style;
    short x, y, cx, cy;
};

struct ExpectedTemplate {
    DWORD style;
    short cx, cy;
    const char* caption;
    std::vector<ExpectedControl> controls;
};

const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
const WORD kUnused = 0xFFFF;

void CheckTemplate(const std::vector<BYTE>& bytes, const ExpectedTemplate& expected)
{
    ASSERT_FALSE(bytes.empty());
    Reader reader(bytes);
    // Classic layout: an extended template starts with 1, 0xFFFF.
    const DWORD style = reader.Dword();
    EXPECT_EQ(style, expected.style);
    EXPECT_EQ(reader.Dword(), 0u) << "extended style";
    const WORD count = reader.Word();
    ASSERT_EQ(count, expected.controls.size());
    EXPECT_EQ(reader.Short(), 0) << "x";
    EXPECT_EQ(reader.Short(), 0) << "y";
    EXPECT_EQ(reader.Short(), expected.cx);
    EXPECT_EQ(reader.Short(), expected.cy);
    EXPECT_TRUE(reader.Name().none) << "menu";
    EXPECT_TRUE(reader.Name().none) << "class";
    EXPECT_EQ(reader.Text(), expected.caption);
    ASSERT_TRUE(style & DS_SETFONT);
    EXPECT_EQ(reader.Word(), 8) << "point size";
    EXPECT_EQ(reader.Text(), "MS Sans Serif");

    for (size_t i = 0; i < expected.controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const ExpectedControl& control = expected.controls[i];
        reader.AlignDword();
        EXPECT_EQ(reader.Dword(), control.style) << "style";
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        EXPECT_EQ(reader.Short(), control.x);
        EXPECT_EQ(reader.Short(), control.y);
        EXPECT_EQ(reader.Short(), control.cx);
        EXPECT_EQ(reader.Short(), control.cy);
        EXPECT_EQ(reader.Word(), control.id);
        const Reader::NameOrOrdinal windowClass = reader.Name();
        EXPECT_TRUE(windowClass.isOrdinal) << windowClass.text;
        EXPECT_EQ(windowClass.ordinal, control.classOrdinal);
        const Reader::NameOrOrdinal text = reader.Name();
        if (control.text) {
            EXPECT_FALSE(text.isOrdinal);
            EXPECT_EQ(text.text, control.text);
        } else {
            EXPECT_TRUE(text.isOrdinal);
            EXPECT_EQ(text.ordinal, IDI_APP);
        }
        EXPECT_EQ(reader.Word(), 0) << "creation data";
        ASSERT_TRUE(reader.ok);
    }
    reader.AlignDword();
    EXPECT_GE(reader.Offset(), bytes.size() - 3) << "nothing after the last control";
}

TEST_F(ResourcesTest, MainTemplateMatchesControlByControl)
{
    const ExpectedTemplate main = {
        0x00CA0040,
        320,
        202,
        "Quarvel",
        {
            {kStatic, kUnused, "&Click && drag the Window Finder Tool!", 0x50020000, 7, 7, 124, 8},
            {kStatic, kUnused, nullptr, 0x50000003, 144, 17, 20, 20},
            {kStatic, kUnused, "&Window Text", 0x50020000, 7, 35, 64, 8},
            {kEdit, IDC_WINDOW_TEXT, "", 0x50810080, 7, 44, 306, 12},
            {kStatic, kUnused, "&Window Handle", 0x50020000, 7, 59, 60, 8},
            {kStatic, IDC_WINDOW_HANDLE, "", 0x50020000, 80, 59, 112, 9},
            {kStatic, kUnused, "&List count", 0x50020000, 7, 72, 60, 8},
            {kStatic, IDC_LIST_COUNT, "", 0x50020000, 80, 71, 112, 9},
            {kEdit, IDC_CONTENTS, "", 0x508100C4, 7, 84, 250, 111},
            {kButton, IDC_GET_COUNT, "&Get Count", 0x50010000, 263, 84, 50, 14},
            {kButton, IDC_GET_CONTENTS, "&Get Contents", 0x50010000, 263, 102, 50, 14},
            {kButton, IDC_CLIPBOARD, "&Clipboard", 0x50010000, 263, 120, 50, 14},
            {kButton, IDC_CLEAR, "&Clear", 0x50010000, 263, 137, 50, 14},
            {kButton, IDC_ABOUT, "&About...", 0x50010000, 263, 181, 50, 14},
        },
    };
    CheckTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN)), main);
}

TEST_F(ResourcesTest, AboutTemplateMatchesControlByControl)
{
    const std::vector<BYTE> bytes = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_ABOUT));
    // The legal notice line is ours to word; read it from the template and
    // check the rest around it.
    std::string text;
    {
        const std::string first = "Quarvel Application v1.3\n\n";
        std::vector<char> narrow;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            narrow.push_back(bytes[i + 1] == 0 ? char(bytes[i]) : '?');
        const std::string all(narrow.begin(), narrow.end());
        // Text starts on a word boundary in the template.
        const size_t at = all.find(first);
        ASSERT_NE(at, std::string::npos);
        text = all.substr(at, all.find('\0', at) - at);
    }
    const size_t notice = text.rfind('\n') + 1;
    EXPECT_EQ(notice, std::string("Quarvel Application v1.3\n\n").size()) << "three lines, single LFs";
    EXPECT_GT(text.size(), notice) << "a legal notice line";
    EXPECT_EQ(text.find('\r'), std::string::npos);

    const ExpectedTemplate about = {
        0x80C800C0,
        187,
        102,
        "About",
        {
            {kButton, IDOK, "OK", 0x50010001, 130, 81, 50, 14},
            {kStatic, kUnused, text.c_str(), 0x50020001, 25, 57, 78, 32},
            {kStatic, kUnused, nullptr, 0x50000003, 55, 26, 20, 20},
            {kButton, kUnused, "", 0x50000007, 7, 7, 115, 88},
        },
    };
    CheckTemplate(bytes, about);
}

TEST_F(ResourcesTest, IconGroupHoldsOne32By32SixteenColourImage)
{
    const std::vector<BYTE> group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP));
    ASSERT_EQ(group.size(), 6u + 14u);
    Reader reader(group);
    EXPECT_EQ(reader.Word(), 0) << "reserved";
    EXPECT_EQ(reader.Word(), 1) << "icon type";
    EXPECT_EQ(reader.Word(), 1) << "image count";
    EXPECT_EQ(group[6], 32) << "width";
    EXPECT_EQ(group[7], 32) << "height";
    EXPECT_EQ(group[8], 16) << "colours";
    EXPECT_EQ(group[9], 0) << "reserved";
    reader.Skip(4);
    EXPECT_EQ(reader.Word(), 1) << "planes";
    EXPECT_EQ(reader.Word(), 4) << "bits per pixel";
    EXPECT_EQ(reader.Dword(), 744u) << "bytes";
    EXPECT_EQ(reader.Word(), 1) << "image id";

    const std::vector<BYTE> image = Resource(RT_ICON, MAKEINTRESOURCEA(1));
    ASSERT_EQ(image.size(), 744u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof(header));
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64) << "colour and mask rows";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 4);
    // Header, 16 palette entries, 4-bit colour rows and 1-bit mask rows.
    EXPECT_EQ(40u + 16u * 4u + 32u * 16u + 32u * 4u, 744u);

    // The system makes both sizes the dialog asks for out of it.
    HMODULE self = GetModuleHandleA(nullptr);
    for (int metric : {SM_CXICON, SM_CXSMICON}) {
        const int size = GetSystemMetrics(metric);
        HANDLE icon = LoadImageA(self, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
        EXPECT_TRUE(icon) << size;
        if (icon)
            DestroyIcon(static_cast<HICON>(icon));
    }
}

// One node of the raw version record: length, value length, type, key, value
// and children, each part aligned on a DWORD.
struct VersionNode {
    std::string key;
    WORD type = 0;
    size_t valueOffset = 0;
    WORD valueLength = 0;
    std::vector<VersionNode> children;
    std::string text;  // the value of a text node
};

VersionNode ReadNode(const std::vector<BYTE>& bytes, size_t start, bool& ok)
{
    VersionNode node;
    Reader reader(bytes, start);
    const WORD length = reader.Word();
    node.valueLength = reader.Word();
    node.type = reader.Word();
    node.key = reader.Text();
    reader.AlignDword();
    node.valueOffset = reader.Offset();
    const size_t end = start + length;
    if (!reader.ok || length < 6 || end > bytes.size()) {
        ok = false;
        return node;
    }
    size_t childStart;
    if (node.type == 1) {
        Reader value(bytes, node.valueOffset, end);
        node.text = value.Text();
        childStart = node.valueOffset + size_t(node.valueLength) * 2;
    } else {
        childStart = node.valueOffset + node.valueLength;
    }
    childStart = (childStart + 3) & ~size_t(3);
    while (ok && childStart + 6 <= end) {
        node.children.push_back(ReadNode(bytes, childStart, ok));
        const WORD childLength = WORD(bytes[childStart] | (bytes[childStart + 1] << 8));
        if (childLength == 0) {
            ok = false;
            break;
        }
        childStart = (childStart + childLength + 3) & ~size_t(3);
    }
    return node;
}

TEST_F(ResourcesTest, VersionRecordHoldsEveryValueInOrder)
{
    const std::vector<BYTE> bytes = Resource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO));
    ASSERT_FALSE(bytes.empty());
    bool ok = true;
    const VersionNode root = ReadNode(bytes, 0, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.valueLength, sizeof(VS_FIXEDFILEINFO));

    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, bytes.data() + root.valueOffset, sizeof(fixed));
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000003u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, 0x28u);
    EXPECT_EQ(fixed.dwFileOS, 0x4u);
    EXPECT_EQ(fixed.dwFileType, 0x2u);
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS, 0u);
    EXPECT_EQ(fixed.dwFileDateLS, 0u);

    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& strings = root.children[0];
    EXPECT_EQ(strings.key, "StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    const VersionNode& table = strings.children[0];
    EXPECT_EQ(table.key, "080904b0");

    const std::pair<const char*, const char*> entries[] = {
        {"Comments", " "},
        {"CompanyName", nullptr},
        {"FileDescription", "Quarvel"},
        {"FileVersion", "1, 0, 0, 3"},
        {"InternalName", "Quarvel"},
        {"LegalCopyright", nullptr},
        {"LegalTrademarks", " "},
        {"OriginalFilename", "Quarvel.exe"},
        {"PrivateBuild", " "},
        {"ProductName", "Quarvel"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"SpecialBuild", " "},
    };
    ASSERT_EQ(table.children.size(), sizeof(entries) / sizeof(entries[0]));
    for (size_t i = 0; i < table.children.size(); ++i) {
        const VersionNode& entry = table.children[i];
        EXPECT_EQ(entry.type, 1) << entry.key;
        EXPECT_EQ(entry.key, entries[i].first) << "entry " << i;
        if (entries[i].second)
            EXPECT_EQ(entry.text, entries[i].second) << entry.key;
        else
            EXPECT_NE(entry.text.find_first_not_of(' '), std::string::npos) << entry.key << " is ours, not blank";
        EXPECT_FALSE(entry.text.empty()) << entry.key;
    }

    const VersionNode& variables = root.children[1];
    EXPECT_EQ(variables.key, "VarFileInfo");
    ASSERT_EQ(variables.children.size(), 1u);
    const VersionNode& translation = variables.children[0];
    EXPECT_EQ(translation.key, "Translation");
    EXPECT_EQ(translation.type, 0);
    ASSERT_EQ(translation.valueLength, 4);
    Reader value(bytes, translation.valueOffset);
    EXPECT_EQ(value.Word(), 0x0809);
    EXPECT_EQ(value.Word(), 0x04B0);
}

// Every resource of the executable, by type, name and language.
struct ResourceWalk {
    std::string type;
    std::vector<std::pair<std::string, std::string>> names;
    std::vector<WORD> languages;
};

std::string IdText(LPCSTR id)
{
    return IS_INTRESOURCE(id) ? "#" + std::to_string(ULONG_PTR(id)) : std::string(id);
}

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR data)
{
    reinterpret_cast<ResourceWalk*>(data)->languages.push_back(language);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR data)
{
    auto* walk = reinterpret_cast<ResourceWalk*>(data);
    walk->names.emplace_back(walk->type, IdText(name));
    EnumResourceLanguagesA(module, type, name, OnLanguage, data);
    return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR data)
{
    reinterpret_cast<ResourceWalk*>(data)->type = IdText(type);
    EnumResourceNamesA(module, type, OnName, data);
    return TRUE;
}

TEST_F(ResourcesTest, EveryResourceIsUkEnglishAndNothingElseIsThere)
{
    ResourceWalk walk;
    EnumResourceTypesA(module, OnType, reinterpret_cast<LONG_PTR>(&walk));

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"#3", "#1"},     // the icon image
        {"#5", "#100"},   // About
        {"#5", "#129"},   // main
        {"#14", "#202"},  // icon group
        {"#16", "#1"},    // version record
        {"#24", "#1"},    // manifest
    };
    EXPECT_EQ(walk.names, expected);
    ASSERT_EQ(walk.languages.size(), expected.size()) << "one language each";
    for (WORD language : walk.languages)
        EXPECT_EQ(language, kUkEnglish);
}

// A setting of the process's manifest as the system read it; empty when the
// system knows no such setting.
std::wstring DeclaredSetting(const wchar_t* space, const wchar_t* name)
{
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, LPCWSTR, LPCWSTR, LPWSTR, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<QuerySettings>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    WCHAR value[64] = {};
    SIZE_T written = 0;
    if (!query || !query(0, nullptr, space, name, value, 64, &written))
        return std::wstring();
    return value;
}

// The process (which carries the same manifest) runs with the awareness the
// manifest declares, or the nearest one the system knows.
TEST(DpiAwarenessTest, ManifestDeclaresPerMonitorV2AndTheProcessRunsAware)
{
    EXPECT_EQ(L"PerMonitorV2",
              DeclaredSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
    EXPECT_EQ(L"true", DeclaredSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"))
        << "the fallback for systems before per-monitor awareness";

    using ContextQuery = HANDLE(WINAPI*)();
    using ContextTest = BOOL(WINAPI*)(HANDLE);
    using ContextCompare = BOOL(WINAPI*)(HANDLE, HANDLE);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto current = reinterpret_cast<ContextQuery>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    auto valid = reinterpret_cast<ContextTest>(
        reinterpret_cast<void*>(GetProcAddress(user32, "IsValidDpiAwarenessContext")));
    auto equal = reinterpret_cast<ContextCompare>(
        reinterpret_cast<void*>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    auto awareness = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (!current || !valid || !equal || !awareness) {
        // Before per-monitor awareness only the fallback exists.
        EXPECT_TRUE(IsProcessDPIAware());
        return;
    }
    const HANDLE perMonitorV2 = HANDLE(LONG_PTR(-4));
    const HANDLE context = current();
    if (valid(perMonitorV2)) {
        EXPECT_TRUE(equal(context, perMonitorV2));
    } else {
        // Wine 8 knows no second per-monitor version: the manifest's value is
        // refused there and the process stays per-monitor aware.
        std::printf("note: the system has no per-monitor v2 awareness; awareness %d\n", awareness(context));
        EXPECT_EQ(awareness(context), 2);
    }
    EXPECT_TRUE(IsProcessDPIAware());
}

// Quarvel.exe runs with the rights of whoever starts it: the system never
// offers to elevate it, nor takes it for an installer by its name.
TEST(ExecutionLevelTest, ManifestAsksToRunAsInvokerWithoutUiAccess)
{
    const std::string path = ExecutableBesideTests();
    ACTCTXA source = {};
    source.cbSize = sizeof(source);
    source.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    source.lpSource = path.c_str();
    source.lpResourceName = MAKEINTRESOURCEA(1);  // the manifest a process starts with
    const HANDLE context = CreateActCtxA(&source);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << path;
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    const BOOL queried = QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                                      sizeof(level), nullptr);
    ReleaseActCtx(context);
    ASSERT_TRUE(queried);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(level.UiAccess, 0u);
}

// Every text goes wide, so no code page of its own is declared: GetACP then
// names the system's, the one CF_TEXT is defined in (Wine, like Windows from
// 10 1903 on, would honour a declaration).
TEST(ActiveCodePageTest, ManifestDeclaresNoCodePageAndTheProcessRunsWithTheSystems)
{
    EXPECT_EQ(L"", DeclaredSetting(L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage"));
    DWORD system = 0;
    ASSERT_TRUE(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                               reinterpret_cast<LPWSTR>(&system), sizeof(system) / sizeof(WCHAR)));
    EXPECT_EQ(UINT(system), GetACP());
}

}  // namespace
