// A window full of list boxes for tests to read from another process.
//
//   list_fixture.exe [--many N] [--title T] [--lifetime SECONDS]
//
// Main window (class "QuarvelListFixture", caption T, default "Quarvel list
// fixture") with child controls by id:
//   101 "alpha", "beta"             102 empty
//   103 255 x 'x', then 1000 chars  104 "caf\xE9", "na\xEFve", "Gr\xFC\xDFe" (code page 1252)
//   105 N items "item %06d of the many-item list"
//   106 a static control "not a list box"
//   107 items beyond code page 1252, added wide: Japanese, Greek, a character
//       beyond the BMP, a combining mark, "caf\xE9", a lone surrogate
// A second top-level window, caption T + " (hung)", owns list box 201 ("one",
// "two", "three") on its own thread; posting WM_APP + 1 to that window makes
// the thread stop answering for good, so a reader can be tested against a
// target that never replies.
// A third top-level window (class "QuarvelListFixtureTitled") has a Japanese
// caption of 515 UTF-16 units with a surrogate pair at units 510 and 511.
//
// The program prints nothing and exits with code 0 when the main window is
// closed, or by itself after its lifetime (ten minutes unless given) so that
// a forgotten fixture never outlives a test run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/scoped.h"

namespace {

constexpr char kMainClass[] = "QuarvelListFixture";
constexpr char kHungClass[] = "QuarvelListFixtureHung";
constexpr wchar_t kTitledClass[] = L"QuarvelListFixtureTitled";
constexpr UINT kHangMessage = WM_APP + 1;
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr int kDefaultLifetimeSeconds = 10 * 60;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;

struct Options {
    int many = 1000;
    std::string title = "Quarvel list fixture";
    int lifetimeSeconds = kDefaultLifetimeSeconds;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--many") == 0) {
            options.many = std::atoi(argv[++i]);
            if (options.many < 0)
                options.many = 0;
        } else if (std::strcmp(argv[i], "--title") == 0) {
            options.title = argv[++i];
        } else if (std::strcmp(argv[i], "--lifetime") == 0) {
            const int seconds = std::atoi(argv[++i]);
            if (seconds > 0 && seconds <= 24 * 60 * 60)
                options.lifetimeSeconds = seconds;
        }
    }
    return options;
}

HWND CreateList(HWND parent, int id, int x, int y, int width, int height)
{
    return CreateWindowExA(0, "LISTBOX", "", kListStyle, x, y, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void AddItem(HWND list, const char* text)
{
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// The items are defined as code page 1252 bytes. When the system's ANSI code
// page is something else, the same characters go in through the wide entry so
// that the box still holds the intended text.
void AddCp1252Item(HWND list, const char* bytes)
{
    if (GetACP() == 1252) {
        AddItem(list, bytes);
        return;
    }
    wchar_t wide[64] = {};
    if (MultiByteToWideChar(1252, 0, bytes, -1, wide, 64) > 0)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide));
}

void FillLongItems(HWND list)
{
    AddItem(list, std::string(255, 'x').c_str());
    std::string digits;
    for (int i = 0; i < 100; ++i)
        digits += "0123456789";
    AddItem(list, digits.c_str());
}

void FillManyItems(HWND list, int count)
{
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 40);
    char text[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "item %06d of the many-item list", i);
        AddItem(list, text);
    }
}

void FillWideItems(HWND list)
{
    const wchar_t* const items[] = {
        L"\u65e5\u672c\u8a9e\u306e\u30ea\u30b9\u30c8", L"\u03a9\u03bc\u03ad\u03b3\u03b1", L"smile \U0001F600",
        L"cafe\u0301", L"caf\u00e9", L"lone \xD800 half",
    };
    for (const wchar_t* item : items)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// Quarvel's dialog, centred on the screen, covers the left part of this
// window: every control keeps a part at the right that stays in view.
void CreateMainControls(HWND window, int many)
{
    HWND pair = CreateList(window, 101, 250, 10, 170, 60);
    AddItem(pair, "alpha");
    AddItem(pair, "beta");

    CreateList(window, 102, 250, 80, 170, 60);
    FillLongItems(CreateList(window, 103, 10, 150, 410, 70));

    HWND accents = CreateList(window, 104, 250, 230, 170, 70);
    AddCp1252Item(accents, "caf\xE9");
    AddCp1252Item(accents, "na\xEFve");
    AddCp1252Item(accents,
        "Gr\xFC\xDF"
        "e");

    CreateWindowExA(0, "STATIC", "not a list box", WS_CHILD | WS_VISIBLE | SS_LEFT, 250, 310, 170, 24, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(106)), GetModuleHandleA(nullptr), nullptr);

    FillManyItems(CreateList(window, 105, 10, 345, 410, 300), many);

    FillWideItems(CreateWindowExW(0, L"LISTBOX", L"", kListStyle, 10, 10, 230, 130, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(107)), GetModuleHandleW(nullptr), nullptr));
}

LRESULT CALLBACK MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kLifetimeTimer)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK HungProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kHangMessage:
        Sleep(INFINITE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterClasses()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpfnWndProc = MainProcedure;
    windowClass.lpszClassName = kMainClass;
    if (!RegisterClassExA(&windowClass))
        return false;
    windowClass.lpfnWndProc = HungProcedure;
    windowClass.lpszClassName = kHungClass;
    if (!RegisterClassExA(&windowClass))
        return false;
    // Wide, so that its caption keeps every character.
    WNDCLASSEXW titledClass = {};
    titledClass.cbSize = sizeof titledClass;
    titledClass.hInstance = windowClass.hInstance;
    titledClass.hCursor = windowClass.hCursor;
    titledClass.hbrBackground = windowClass.hbrBackground;
    titledClass.lpfnWndProc = DefWindowProcW;
    titledClass.lpszClassName = kTitledClass;
    return RegisterClassExW(&titledClass) != 0;
}

constexpr DWORD kTopStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Shared with the hung window's thread only until `ready` is set.
struct HungStart {
    std::string title;
    HANDLE ready = nullptr;
};

void PumpMessages()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

DWORD WINAPI HungThread(void* parameter)
{
    auto* start = static_cast<HungStart*>(parameter);
    HWND window = CreateWindowExA(0, kHungClass, "", kTopStyle, 40, 560, 300, 180, nullptr, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (window) {
        HWND list = CreateList(window, 201, 10, 10, 270, 110);
        AddItem(list, "one");
        AddItem(list, "two");
        AddItem(list, "three");
        SetWindowTextA(window, start->title.c_str());
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    SetEvent(start->ready);
    if (window)
        PumpMessages();
    return 0;
}

// Waits until the hung window exists, so that a test that sees the main
// window can count on both.
void StartHungWindow(const std::string& title)
{
    HungStart start;
    start.title = title + " (hung)";
    ScopedHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    start.ready = ready.Get();
    if (!ready.Get())
        return;
    ScopedHandle thread(CreateThread(nullptr, 0, HungThread, &start, 0, nullptr));
    if (thread.Get())
        WaitForSingleObject(ready.Get(), 30000);
}

// Not owned by the main window: under Wine an owned window costs its
// process two seconds.
void CreateTitledWindow()
{
    std::wstring title;
    while (title.size() < 510)
        title += L"\u65e5\u672c\u8a9e\u306e\u30bf\u30a4\u30c8\u30eb";
    title.resize(510);
    title += L"\U0001F600\u7d42\u308f\u308a";
    ShowWindow(CreateWindowExW(0, kTitledClass, title.c_str(), kTopStyle, 20, 20, 300, 150, nullptr, nullptr,
                   GetModuleHandleW(nullptr), nullptr),
        SW_SHOWNOACTIVATE);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const Options options = ParseOptions(__argc, __argv);
    if (!RegisterClasses())
        return 0;
    StartHungWindow(options.title);
    // The caption comes last: a reader that finds the window by its caption
    // finds every list box filled.
    HWND window = CreateWindowExA(0, kMainClass, "", kTopStyle, 560, 40, 440, 680, nullptr, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return 0;
    CreateMainControls(window, options.many);
    CreateTitledWindow();
    SetWindowTextA(window, options.title.c_str());
    SetTimer(window, kLifetimeTimer, UINT(options.lifetimeSeconds) * 1000u, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpMessages();
    // The hung thread may never return; ending the process ends it too.
    ExitProcess(0);
}
