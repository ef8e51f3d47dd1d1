// The floor: a bare window with what Tintmark's main window shows at start (client size, menu bar,
// manifest, icon, 23 child controls with their texts for the demo owner of the bench's Wine
// prefix, the Japanese fonts) and nothing behind it. Start-up time and
// memory of Tintmark.exe are measured against this program in the same run.

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace {

// Twips, relative to the parent, as in the main window's layout table.
struct Child {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
  int font;    // index into the fonts below; -1: the message font
  int parent;  // index of the child that holds it; -1: the window
};

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
constexpr DWORD kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;

// The group box comes first: the options of the base are its children.
constexpr Child kChildren[] = {
    {L"BUTTON", L"", BS_GROUPBOX, WS_EX_CONTROLPARENT, -120, -90, 2925, 1635, -1, -1},
    {L"BUTTON", L"適用", kButton, 0, 1440, 3420, 1215, 375, -1, -1},
    {L"BUTTON", L"10進数", kRadio | WS_GROUP | WS_TABSTOP, 0, 480, 1320, 855, 255, -1, 0},
    {L"BUTTON", L"16進数", kRadio, 0, 1560, 1320, 855, 255, -1, 0},
    {L"BUTTON", L"背景色", kRadio | WS_GROUP | WS_TABSTOP, 0, 1440, 1560, 975, 375, -1, -1},
    {L"BUTTON", L"文字色", kRadio, 0, 360, 1560, 975, 375, -1, -1},
    {L"STATIC", L"赤(&R) :", kLabel | WS_GROUP, 0, 240, 2040, 615, 180, 0, -1},
    {L"EDIT", L"255", kEdit, WS_EX_CLIENTEDGE, 960, 1980, 615, 330, 1, -1},
    {L"BUTTON", L"▲", kButton, 0, 1680, 1980, 375, 375, -1, -1},
    {L"BUTTON", L"▼", kButton, 0, 2160, 1980, 375, 375, -1, -1},
    {L"STATIC", L"緑(&G) :", kLabel | WS_GROUP, 0, 240, 2520, 615, 180, 0, -1},
    {L"EDIT", L"255", kEdit, WS_EX_CLIENTEDGE, 960, 2460, 615, 330, 1, -1},
    {L"BUTTON", L"▲", kButton, 0, 1680, 2460, 375, 375, -1, -1},
    {L"BUTTON", L"▼", kButton, 0, 2160, 2460, 375, 375, -1, -1},
    {L"STATIC", L"青(&B) :", kLabel | WS_GROUP, 0, 240, 3000, 615, 180, 0, -1},
    {L"EDIT", L"224", kEdit, WS_EX_CLIENTEDGE, 960, 2940, 615, 330, 1, -1},
    {L"BUTTON", L"▲", kButton, 0, 1680, 2940, 375, 375, -1, -1},
    {L"BUTTON", L"▼", kButton, 0, 2160, 2940, 375, 375, -1, -1},
    {L"BUTTON", L"現在の色", kButton, 0, 120, 3420, 1215, 375, -1, -1},
    {L"BUTTON", L"終了", kButton, 0, 240, 3900, 2295, 375, -1, -1},
    {L"STATIC", L"ID :", kLabel, 0, 240, 180, 330, 180, 0, -1},
    {L"EDIT", L"12345678", kEdit | WS_DISABLED, WS_EX_CLIENTEDGE, 600, 120, 1815, 315, 1, -1},
    {L"EDIT", L"Shift : 10ずつ変動    Ctrl  : 最大値/最小値",
     ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 120, 540, 2535, 615, 2,
     -1},
};

// Points and weight of the label, field and sample fonts.
struct Font {
  int tenthPoints;
  int weight;
};
constexpr Font kFonts[] = {{90, FW_BOLD}, {113, FW_NORMAL}, {120, FW_NORMAL}};

constexpr int kClientWidth = 2760, kClientHeight = 4455;

int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // As Tintmark does: the manifest's common controls 6 exist only once comctl32 is loaded.
  InitCommonControls();
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = L"TintmarkFloor";
  RegisterClassExW(&windowClass);

  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(1));
  RECT outer{0, 0, Pixels(kClientWidth, dpi), Pixels(kClientHeight, dpi)};
  AdjustWindowRectEx(&outer, style, TRUE, WS_EX_CONTROLPARENT);
  const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"TintmarkFloor", L"Tintmark", style,
                                      CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                      outer.bottom - outer.top, nullptr, menu, instance, nullptr);
  if (!window) return 1;

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const HFONT messageFont = CreateFontIndirectW(&metrics.lfMessageFont);
  HFONT fonts[3];
  for (int i = 0; i < 3; ++i) {
    fonts[i] =
        CreateFontW(-MulDiv(kFonts[i].tenthPoints, dpi, 720), 0, 0, 0, kFonts[i].weight, FALSE,
                    FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
  }

  HWND created[sizeof(kChildren) / sizeof(kChildren[0])] = {};
  int id = 100;
  for (const Child& child : kChildren) {
    const HWND parent = child.parent < 0 ? window : created[child.parent];
    const HWND control = CreateWindowExW(
        child.exStyle, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style,
        Pixels(child.left, dpi), Pixels(child.top, dpi), Pixels(child.width, dpi),
        Pixels(child.height, dpi), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        instance, nullptr);
    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(child.font < 0 ? messageFont : fonts[child.font]), FALSE);
    created[id - 100] = control;
    ++id;
  }

  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  for (const HFONT font : fonts) DeleteObject(font);
  DeleteObject(messageFont);
  return 0;
}
