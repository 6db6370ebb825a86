// A window full of list boxes for tests to read from another process.
//
//   list_fixture.exe [--many N] [--rows R] [--slow R] [--title T] [--lifetime SECONDS] [--activate no]
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
// A fourth, captioned T + " (controls)", holds the other kinds of lists:
//   301 report-view list view of kReportRows, columns shown in the order 2, 0, 1
//   302 virtual list view in list view: "virtual 0" to "virtual 2", then 1000 digits
//   303 with --rows R: report-view list view of R rows "r%d c%d", 3 columns
//   304 tree view (FillTree), its "Citrus" and "Vegetables" branches collapsed
//   305 drop-down list combo box "red", "green", "blue"
//   306 owner-drawn list box of three items without strings
//   307 with --rows R: tree view of R items, "item %d" under every tenth
//   308 with --slow R: report-view list view of R rows "slow %d", answering
//       every list-view message after 20 ms (drawn over 303: give one of them)
//   309 report-view list view under a toolkit's class name,
//       "WindowsForms10.SysListView32.app.0.1" (a superclass of the system's)
//   310 tree view under the class name "TTreeView", every item in view
//   311 tree view whose texts its program supplies on demand
//       (LPSTR_TEXTCALLBACK), answered by pointer as Windows' tree view does
//       (Wine's always copies them), every item in view
//
// The program prints nothing and exits with code 0 when the main window is
// closed, or by itself after its lifetime (ten minutes unless given) so that
// a forgotten fixture never outlives a test run.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

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
    int rows = 0;
    int slowRows = 0;
    std::string title = "Quarvel list fixture";
    int lifetimeSeconds = kDefaultLifetimeSeconds;
    // Whether the main window takes the activation when it shows. Under Wine
    // a window that does is raised once its process gets to the focus event,
    // which may come after a test has raised another window over it.
    bool activate = true;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--many") == 0) {
            options.many = std::atoi(argv[++i]);
            if (options.many < 0)
                options.many = 0;
        } else if (std::strcmp(argv[i], "--rows") == 0) {
            options.rows = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--slow") == 0) {
            options.slowRows = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--title") == 0) {
            options.title = argv[++i];
        } else if (std::strcmp(argv[i], "--activate") == 0) {
            options.activate = std::strcmp(argv[++i], "no") != 0;
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

// The other kinds of lists, in a window of their own on the left of the
// screen, which Quarvel's centred dialog leaves free. A wide window, so that
// the list views' notifications come as wide text.
constexpr wchar_t kControlsClass[] = L"QuarvelListFixtureControls";
constexpr int kVirtualItems = 4;

const wchar_t* const kReportColumns[] = {L"Name", L"Size", L"Note"};
const int kReportOrder[] = {2, 0, 1};
const wchar_t* const kReportRows[][3] = {
    {L"alpha", L"1", L"plain"},
    {L"tab\there", L"2", L"line one\r\nline two"},
    {L"\u4E2D\u6587 \U0001D11E", L"3", L"say \"hi\""},
    {L"\"quoted\" start", L"", L""},
};

std::wstring Digits(int length)
{
    std::wstring digits;
    while (static_cast<int>(digits.size()) < length)
        digits += static_cast<wchar_t>(L'0' + digits.size() % 10);
    return digits;
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, DWORD style, int id, int y, int height)
{
    return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 5, y, 250, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void SetCell(HWND list, int row, int column, const wchar_t* text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
        reinterpret_cast<LPARAM>(&item));
}

HWND CreateReportList(HWND parent, int id, int y, int height)
{
    HWND list = CreateControl(parent, WC_LISTVIEWW, LVS_REPORT, id, y, height);
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.cx = 80;
        header.pszText = const_cast<wchar_t*>(kReportColumns[column]);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    return list;
}

void FillReportList(HWND list)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            SetCell(list, row, column, kReportRows[row][column]);
    SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(kReportOrder));
}

void FillManyRows(HWND list, int rows)
{
    wchar_t text[32];
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < 3; ++column) {
            std::swprintf(text, 32, L"r%d c%d", row, column);
            SetCell(list, row, column, text);
        }
}

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const wchar_t* text)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillTree(HWND tree)
{
    HTREEITEM fruits = AddTreeItem(tree, TVI_ROOT, L"Fruits");
    AddTreeItem(tree, fruits, L"Apple");
    HTREEITEM citrus = AddTreeItem(tree, fruits, L"Citrus");
    AddTreeItem(tree, citrus, L"Lemon");
    AddTreeItem(tree, citrus, L"Lime");
    AddTreeItem(tree, fruits, L"tab\tpear");
    AddTreeItem(tree, AddTreeItem(tree, TVI_ROOT, L"Vegetables"), L"Kale");
    AddTreeItem(tree, TVI_ROOT, (L"long " + Digits(400)).c_str());
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(fruits));
}

void FillManyTreeItems(HWND tree, int items)
{
    wchar_t text[32];
    HTREEITEM parent = TVI_ROOT;
    for (int item = 0; item < items; ++item) {
        std::swprintf(text, 32, L"item %d", item);
        HTREEITEM added = AddTreeItem(tree, item % 10 ? parent : TVI_ROOT, text);
        if (item % 10 == 0)
            parent = added;
    }
}

// The toolkit-style and by-pointer controls: their contents, and what their
// programs answer.
const wchar_t* const kToolkitColumns[] = {L"Name", L"Kind"};
const wchar_t* const kToolkitRows[][2] = {{L"form.cs", L"source"}, {L"icon.ico", L"image"}, {L"notes", L""}};
const wchar_t* const kOnDemandTexts[] = {L"Inbox", L"Today", L"Yesterday", L"Sent \u2709"};
constexpr wchar_t kToolkitListClass[] = L"WindowsForms10.SysListView32.app.0.1";
constexpr wchar_t kToolkitTreeClass[] = L"TTreeView";
constexpr wchar_t kBaseProcedure[] = L"QuarvelFixtureBase";
constexpr wchar_t kOwnTexts[] = L"QuarvelFixtureTexts";
constexpr DWORD kSlowAnswer = 20;  // milliseconds

void RegisterSuperclass(const wchar_t* base, const wchar_t* name)
{
    WNDCLASSW windowClass = {};
    GetClassInfoW(nullptr, base, &windowClass);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

void Subclass(HWND control, WNDPROC procedure)
{
    SetPropW(control, kBaseProcedure,
        reinterpret_cast<HANDLE>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure))));
}

LRESULT Base(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetPropW(control, kBaseProcedure)), control, message, wParam,
        lParam);
}

LRESULT CALLBACK SlowProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= LVM_FIRST && message < LVM_FIRST + 0x100)
        Sleep(kSlowAnswer);
    return Base(list, message, wParam, lParam);
}

// As Windows answers TVM_GETITEM for a text its program supplies on demand:
// the record's text pointer aimed at the program's own text.
LRESULT CALLBACK ByPointerProcedure(HWND tree, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != TVM_GETITEMW || !(reinterpret_cast<TVITEMW*>(lParam)->mask & TVIF_TEXT))
        return Base(tree, message, wParam, lParam);
    auto* item = reinterpret_cast<TVITEMW*>(lParam);
    TVITEMW own = *item;
    own.mask = (item->mask & ~TVIF_TEXT) | TVIF_PARAM;
    if (!Base(tree, message, wParam, reinterpret_cast<LPARAM>(&own)))
        return FALSE;
    const UINT mask = item->mask;
    *item = own;
    item->mask = mask;
    auto* texts = static_cast<std::vector<std::wstring>*>(GetPropW(tree, kOwnTexts));
    item->pszText = &(*texts)[static_cast<size_t>(own.lParam) % texts->size()][0];
    return TRUE;
}

HTREEITEM AddOnDemandItem(HWND tree, HTREEITEM parent, LPARAM text)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKW;
    insert.item.lParam = text;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CreateToolkitLists(HWND window)
{
    const DWORD tree = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    RegisterSuperclass(WC_LISTVIEWW, kToolkitListClass);
    RegisterSuperclass(WC_TREEVIEWW, kToolkitTreeClass);
    HWND list = CreateControl(window, kToolkitListClass, LVS_REPORT, 309, 525, 60);
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.cx = 100;
        header.pszText = const_cast<wchar_t*>(kToolkitColumns[column]);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            SetCell(list, row, column, kToolkitRows[row][column]);

    HWND toolkitTree = CreateWindowExW(0, kToolkitTreeClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | tree, 5, 590,
        122, 110, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(310)), GetModuleHandleW(nullptr), nullptr);
    HTREEITEM project = AddTreeItem(toolkitTree, TVI_ROOT, L"Project");
    HTREEITEM source = AddTreeItem(toolkitTree, project, L"src");
    AddTreeItem(toolkitTree, source, L"main.pas");
    AddTreeItem(toolkitTree, source, L"unit1.pas");
    AddTreeItem(toolkitTree, project, L"README");
    SendMessageW(toolkitTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(source));
    SendMessageW(toolkitTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(project));

    HWND onDemand = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | tree, 133, 590, 122,
        110, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(311)), GetModuleHandleW(nullptr), nullptr);
    HTREEITEM inbox = AddOnDemandItem(onDemand, TVI_ROOT, 0);
    AddOnDemandItem(onDemand, inbox, 1);
    AddOnDemandItem(onDemand, inbox, 2);
    AddOnDemandItem(onDemand, TVI_ROOT, 3);
    SendMessageW(onDemand, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(inbox));
    // Kept for the program's life on its heap, beside the tree's items: a
    // program that keeps its heap low (as under Wine) has its texts within
    // the 32-bit Quarvel's reach, as its item handles.
    SetPropW(onDemand, kOwnTexts, new std::vector<std::wstring>(std::begin(kOnDemandTexts), std::end(kOnDemandTexts)));
    Subclass(onDemand, ByPointerProcedure);
}

void CreateSlowList(HWND window, int rows)
{
    HWND list = CreateReportList(window, 308, 415, 60);
    wchar_t text[32];
    for (int row = 0; row < rows; ++row) {
        std::swprintf(text, 32, L"slow %d", row);
        SetCell(list, row, 0, text);
    }
    Subclass(list, SlowProcedure);
}

void CreateOtherLists(HWND window, int rows, int slowRows)
{
    const DWORD tree = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    FillReportList(CreateReportList(window, 301, 5, 110));
    HWND virtualList = CreateControl(window, WC_LISTVIEWW, LVS_LIST | LVS_OWNERDATA, 302, 120, 60);
    SendMessageW(virtualList, LVM_SETITEMCOUNT, kVirtualItems, 0);
    FillTree(CreateControl(window, WC_TREEVIEWW, tree, 304, 185, 130));
    HWND combo = CreateControl(window, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 305, 320, 120);
    for (const wchar_t* colour : {L"red", L"green", L"blue"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
    HWND drawn = CreateControl(window, L"LISTBOX", LBS_OWNERDRAWFIXED | WS_VSCROLL, 306, 350, 60);
    for (LPARAM data = 1; data <= 3; ++data)
        SendMessageW(drawn, LB_ADDSTRING, 0, data);
    if (rows > 0) {
        FillManyRows(CreateReportList(window, 303, 415, 60), rows);
        FillManyTreeItems(CreateControl(window, WC_TREEVIEWW, tree, 307, 480, 40), rows);
    }
    if (slowRows > 0)
        CreateSlowList(window, slowRows);
    CreateToolkitLists(window);
}

void AnswerVirtualItem(NMLVDISPINFOW& request)
{
    if (!(request.item.mask & LVIF_TEXT) || request.item.cchTextMax <= 0)
        return;
    const int index = request.item.iItem;
    const std::wstring text = index == kVirtualItems - 1 ? Digits(1000) : L"virtual " + std::to_wstring(index);
    lstrcpynW(request.item.pszText, text.c_str(), request.item.cchTextMax);
}

LRESULT CALLBACK ControlsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == 302 && header->code == LVN_GETDISPINFOW)
            AnswerVirtualItem(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        if (header->idFrom == 311 && header->code == TVN_GETDISPINFOW) {
            TVITEMW& item = reinterpret_cast<NMTVDISPINFOW*>(lParam)->item;
            if ((item.mask & TVIF_TEXT) && item.cchTextMax > 0)
                lstrcpynW(item.pszText, kOnDemandTexts[item.lParam % 4], item.cchTextMax);
        }
        return 0;
    }
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    case WM_DRAWITEM:
        return TRUE;  // the items have nothing to show
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void StartControlsWindow(const std::string& title, int rows, int slowRows)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpfnWndProc = ControlsProcedure;
    windowClass.lpszClassName = kControlsClass;
    if (!RegisterClassExW(&windowClass))
        return;
    HWND window = CreateWindowExW(0, kControlsClass, L"", kTopStyle, 0, 0, 268, 735, nullptr, nullptr,
        GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return;
    CreateOtherLists(window, rows, slowRows);
    SetWindowTextA(window, (title + " (controls)").c_str());
    ShowWindow(window, SW_SHOWNOACTIVATE);
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
    StartControlsWindow(options.title, options.rows, options.slowRows);
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
    ShowWindow(window, options.activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    PumpMessages();
    // The hung thread may never return; ending the process ends it too.
    ExitProcess(0);
}
