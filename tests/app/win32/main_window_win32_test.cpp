// The real main window on the real controls: what screen readers, the window manager and a
// high-contrast scheme see.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/main_window_harness.h"
#include "support/win32/native_windows.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/win32_backend.h"

namespace tktest {
namespace {

using tk::win32::Win32Backend;

std::u16string WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

class MainWindowOnWin32 : public MainWindowTest {};

bool IsFormWindow(HWND window) {
  wchar_t className[32] = {};
  return window && GetClassNameW(window, className, 32) &&
         std::wstring(className) == L"TintmarkForm";
}

BOOL CALLBACK CountFormWindow(HWND window, LPARAM count) {
  *reinterpret_cast<int*>(count) += IsFormWindow(window);
  return TRUE;
}

int FormWindowsLeft() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountFormWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, &CountWindow, count);
  return TRUE;
}

// The thread's windows, top-level and children.
int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The keys that close a menu and leave the menu bar.
void LeaveMenuLater(HWND window) {
  for (int i = 0; i < 2; ++i) {
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  }
}

// Windows out of resources (on 9x, the USER heap of 64 KB full): a CBT hook refuses the n-th
// window made for the program's forms, a form's or a control's, or menu call; 0 refuses none and
// counts. Late, it refuses the n-th window only, by the window's own WM_CREATE.
class RefusedWindow {
 public:
  explicit RefusedWindow(int n, bool late = false) : n_(n), late_(late) {
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    if (!late) refuseMenuCall = [this] { return ++made_ == n_; };
  }
  ~RefusedWindow() {
    refuseMenuCall = nullptr;
    UnhookWindowsHookEx(hook_);
    current = nullptr;
  }
  int Made() const { return made_; }
  // The outer size the last form window was made with.
  SIZE MadeSize() const { return madeSize_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && current) {
      const auto window = reinterpret_cast<HWND>(wParam);
      const CREATESTRUCTW& made = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      const HWND parent = made.hwndParent;
      if (IsFormWindow(window)) current->madeSize_ = {made.cx, made.cy};
      if (IsFormWindow(window) || IsFormWindow(GetAncestor(parent, GA_ROOT))) {
        if (++current->made_ == current->n_ && !current->late_) return 1;
        if (current->made_ == current->n_) {
          current->procedure_ = reinterpret_cast<WNDPROC>(
              SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefuseCreate)));
        }
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK RefuseCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return -1;
    return CallWindowProcW(current->procedure_, window, message, wParam, lParam);
  }

  static inline RefusedWindow* current = nullptr;
  int n_;
  bool late_;
  int made_ = 0;
  HHOOK hook_;
  WNDPROC procedure_ = nullptr;
  SIZE madeSize_{};
};

// The system's colours `indexes` set to `colors` for the test's time: SetSysColors tells every
// window (WM_SYSCOLORCHANGE), as Windows does when high contrast is turned on.
class Scheme {
 public:
  Scheme(std::vector<int> indexes, const std::vector<COLORREF>& colors) : indexes_(indexes) {
    for (const int index : indexes_) saved_.push_back(GetSysColor(index));
    SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), colors.data());
  }
  ~Scheme() { SetSysColors(static_cast<int>(indexes_.size()), indexes_.data(), saved_.data()); }

 private:
  std::vector<int> indexes_;
  std::vector<COLORREF> saved_;
};

// The windows of the thread told of new system colours (WM_SYSCOLORCHANGE, sent) while it lives.
class ColourChangesHeard {
 public:
  ColourChangesHeard()
      : hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId())) {}
  ~ColourChangesHeard() {
    UnhookWindowsHookEx(hook_);
    heard.clear();
  }
  static inline std::set<HWND> heard;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent.message == WM_SYSCOLORCHANGE) heard.insert(sent.hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

// What a control paints with: text, background and brush, its form's answer to the
// WM_CTLCOLOR* message the control sends.
using Colors = std::array<COLORREF, 3>;
Colors PaintedWith(const tk::Control& control, UINT message) {
  const HWND window = WindowOf(control);
  const HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, 0x123456);
  SetBkColor(dc, 0x123456);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(window), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
  LOGBRUSH logBrush{};
  GetObjectW(brush, sizeof(logBrush), &logBrush);
  const Colors colors{GetTextColor(dc), GetBkColor(dc), logBrush.lbColor};
  DeleteDC(dc);
  return colors;
}

// White on black, as high contrast paints; Wine never reports high contrast on, so the scheme
// alone has to tell.
TEST_F(MainWindowOnWin32, AHighContrastSchemeReachesTheFieldsAndTheAboutLabelsButNotTheSample) {
  constexpr COLORREF kBlack = 0, kWhite = 0xFFFFFF;
  AddOwner(12345678, 0x0000FF, 0x00FFFF);
  Start();
  const Scheme highContrast(
      {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_GRAYTEXT},
      {kBlack, kWhite, kBlack, kWhite, 0x3FF23F});
  EXPECT_EQ(PaintedWith(Text("txtColor", 0), WM_CTLCOLOREDIT), (Colors{kWhite, kBlack, kBlack}));
  EXPECT_EQ(PaintedWith(Text("txtID"), WM_CTLCOLORSTATIC), (Colors{kWhite, kBlack, kBlack}))
      << "locked, greyed by the system";
  EXPECT_EQ(PaintedWith(Text("txtTest"), WM_CTLCOLOREDIT), (Colors{0x0000FF, 0x00FFFF, 0x00FFFF}))
      << "the sample keeps the user's colours";

  driver->WhenNextModalShown([&](tk::Form& box) {
    for (const char* label : {"lblTitle", "lblDescription"}) {
      EXPECT_EQ(PaintedWith(box.Find(label), WM_CTLCOLORSTATIC), (Colors{kWhite, kBlack, kBlack}))
          << label;
    }
    {
      const Scheme light({COLOR_BTNFACE, COLOR_BTNTEXT}, {0xC0C0C0, 0x800000});
      EXPECT_EQ(PaintedWith(box.Find("lblTitle"), WM_CTLCOLORSTATIC)[0], kBlack)
          << "black where it reads";
    }
    const HWND title = WindowOf(box.Find("lblTitle"));
    ValidateRect(title, nullptr);
    SendMessageW(WindowOf(box), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(GetUpdateRect(title, nullptr, FALSE)) << "high contrast alone repaints";
    driver->Click(box.Find("cmdOK"));
  });
  driver->ChooseMenu(Menu("mnuHelp"));
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

// All or nothing, and then nothing read or written: the window comes up whole, or the user is told.
TEST_F(MainWindowOnWin32, WhereWindowsRefusesAnyOfTheMainWindowsWindowsItSaysSoAndEnds) {
  AddOwner(12345678, 0x0000FF, 0x00FFFF);
  int windows = 0;
  {
    const RefusedWindow counting(0);
    Start();
    windows = counting.Made();
  }
  EXPECT_GT(windows, 20) << "the window, its controls and its menu";
  // Should the window come up all the same, its Load event asks for an ID, and the program ends.
  registry->SetDword(kOwners, "LastOwner", 0);
  menusDestroyedAgain = 0;
  // Each refused in turn, and last the form's window refused after its WM_NCCREATE.
  for (int n = 1; n <= windows + 1; ++n) {
    menusMade.clear();
    frm = std::make_unique<app::FrmMain>(driver->App(), registry->Registry(), files->Access(),
                                         app::JapaneseTexts());
    driver->ClearRecords();
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    driver->WhileNextBoxIsUp([&] { driver->EndTask(Form()); });
    const RefusedWindow refusing(n > windows ? 1 : n, n > windows);
    frm->Run();
    ASSERT_EQ(driver->MessageBoxes().size(), 1u) << n;
    EXPECT_EQ(driver->MessageBoxes()[0].title, u" - 起動エラー - Tintmark") << n;
    EXPECT_FALSE(Form().IsLoaded()) << n;
    EXPECT_EQ(FormWindowsLeft(), 0) << n;
    for (const HMENU menu : menusMade) EXPECT_FALSE(IsMenu(menu)) << n;
  }
  EXPECT_EQ(menusDestroyedAgain, 0);
  EXPECT_EQ(registry->ReadDword(kOwners, "LastOwner"), 0u);
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x0000FFu);
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

TEST_F(MainWindowOnWin32,
       WhereWindowsRefusesAnyOfTheAboutBoxsWindowsItSaysSoAndTheMainWindowStays) {
  AddOwner(12345678, 0x0000FF, 0x00FFFF);
  Start();
  int windows = 0;
  {
    const RefusedWindow counting(0);
    RECT shown{};
    driver->WhenNextModalShown([&](tk::Form& box) {
      GetWindowRect(WindowOf(box), &shown);
      driver->Click(box.Find("cmdOK"));
    });
    driver->ChooseMenu(Menu("mnuHelp"));
    windows = counting.Made();
    // Made at the size it shows, a box without a menu bar: not resized at start.
    EXPECT_EQ(counting.MadeSize().cx, shown.right - shown.left);
    EXPECT_EQ(counting.MadeSize().cy, shown.bottom - shown.top);
  }
  EXPECT_GT(windows, 5) << "the box and its controls";
  for (int n = 1; n <= windows; ++n) {
    driver->ClearRecords();
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    const RefusedWindow refusing(n);
    driver->ChooseMenu(Menu("mnuHelp"));
    ASSERT_EQ(driver->MessageBoxes().size(), 1u) << n;
    EXPECT_EQ(driver->MessageBoxes()[0].title, u" - 表示エラー - Tintmark") << n;
    EXPECT_EQ(FormWindowsLeft(), 1) << n;
  }
  EXPECT_TRUE(IsWindowEnabled(WindowOf(Form())));
  EXPECT_EQ(GetActiveWindow(), WindowOf(Form()));
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

// Screen readers name a field by the static text just before it among its siblings.
TEST_F(MainWindowOnWin32, EveryFieldIsNamedByItsLabel) {
  StartWithoutOwner();
  const struct {
    const char* field;
    int index;
    std::u16string label;
  } fields[] = {{"txtID", -1, u"ID :"},
                {"txtColor", 0, u"赤(&R) :"},
                {"txtColor", 1, u"緑(&G) :"},
                {"txtColor", 2, u"青(&B) :"}};
  for (const auto& f : fields) {
    HWND previous = GetWindow(WindowOf(Form().Find(f.field, f.index)), GW_HWNDPREV);
    ASSERT_NE(previous, nullptr) << f.field << f.index;
    wchar_t className[32] = {};
    GetClassNameW(previous, className, 32);
    EXPECT_EQ(std::wstring(className), L"Static") << f.field << f.index;
    EXPECT_EQ(WindowText(previous), f.label) << f.field << f.index;
  }
}

// Japanese where the system shows it, English where it does not: the run says which to expect
// (TINTMARK_EXPECT_LANGUAGE=english for a Western code page on the A road, or no font with
// Japanese glyphs). What the user reads is read back from the windows, the menu and the box.
TEST_F(MainWindowOnWin32, SpeaksJapaneseWhereTheSystemShowsItAndEnglishElsewhere) {
  const char* expected = std::getenv("TINTMARK_EXPECT_LANGUAGE");
  const bool english = expected && std::string(expected) == "english";
  if (const char* codePage = std::getenv("TINTMARK_EXPECT_CODE_PAGE")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage))) << "the run's code page";
  }
  StartWithoutOwner();
  EXPECT_EQ(LastMessage().title, english ? u" - ID Entry Request - Tintmark" : kIdRequestTitle);
  EXPECT_EQ(driver->ShownText(Button("btnAccept")), english ? u"Apply" : u"適用");
  EXPECT_EQ(driver->ShownText(Form().Get<tk::Label>("Label2")),
            english ? u"&Green :" : u"緑(&G) :");

  const HMENU bar = GetMenu(WindowOf(Form()));
  const HMENU file = GetSubMenu(bar, 0);
  std::vector<std::u16string> shown;
  for (const auto& control : Form().Controls()) {
    if (const HWND window = WindowOf(*control)) shown.push_back(driver->ShownText(*control));
  }
  driver->WhenNextModalShown([&](tk::Form& about) {
    for (const auto& control : about.Controls()) {
      if (WindowOf(*control)) shown.push_back(driver->ShownText(*control));
    }
    shown.push_back(WindowText(WindowOf(about)));
    driver->CloseBox(about);
  });
  driver->ChooseMenu(Form().Menu("mnuHelp"));
  for (const HMENU menu : {bar, file}) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[128] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      shown.push_back(reinterpret_cast<const char16_t*>(text));
    }
  }
  for (const std::u16string& text : shown) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
    EXPECT_EQ(ascii, english || text == u"ID :" || text == u"OK" || text.starts_with(u"Version") ||
                         text == u"Tintmark" || text.find_first_not_of(u"0123456789") == text.npos)
        << std::string(text.begin(), text.end());
    if (english) {
      EXPECT_EQ(text.find(u'?'), text.npos) << std::string(text.begin(), text.end());
    }
  }
  if (english) {
    // Every glyph of every caption is in the control's font.
    for (const auto& control : Form().Controls()) {
      const HWND window = WindowOf(*control);
      if (!window) continue;
      const std::u16string text = tk::CaptionWithoutAccessMark(WindowText(window));
      tk::win32::WindowDc dc(window);
      tk::win32::Selected font(dc.Get(),
                               reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
      std::vector<WORD> glyphs(text.size());
      GetGlyphIndicesW(dc.Get(), reinterpret_cast<const wchar_t*>(text.c_str()),
                       static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
      EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0) << control->Name();
    }
  }
}

// What Windows sends or posts to every top-level window as the system changes around it: the
// window stays as it was, laid out to the design, its fonts alive, its edits and the registry
// untouched, and nothing asks the user anything.
TEST_F(MainWindowOnWin32, WhatTheSystemSaysToEveryWindowLeavesTheWindowAndItsEditsAsTheyWere) {
  AddOwner(12345678, 0x0000FF, 0xFFFFFF);
  Start();
  driver->Click(Text("txtColor", 0));
  driver->Type(u"\b\b\b77");  // an edit not applied
  const std::u16string channels = Channels();
  const HWND window = WindowOf(Form());
  RECT design{};
  GetClientRect(window, &design);
  const std::wstring intl = L"intl", policy = L"Policy", colors = L"ImmersiveColorSet";
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } rows[] = {
      {"minimized", WM_SYSCOMMAND, SC_MINIMIZE, 0},
      {"restored", WM_SYSCOMMAND, SC_RESTORE, 0},
      {"the menu bar by Alt, left by Esc", WM_SYSCOMMAND, SC_KEYMENU, 0},
      {"high contrast on or off", WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0},
      {"a new work area", WM_SETTINGCHANGE, SPI_SETWORKAREA, 0},
      {"new regional settings", WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(intl.c_str())},
      {"a new policy", WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(policy.c_str())},
      {"light or dark mode", WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(colors.c_str())},
      {"new text metrics", WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0},
      {"new system colours", WM_SYSCOLORCHANGE, 0, 0},
      {"a new theme", WM_THEMECHANGED, 0, 0},
      {"a new display mode", WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768)},
      {"fonts installed", WM_FONTCHANGE, 0, 0},
      {"another keyboard layout", WM_INPUTLANGCHANGE, 0, 0x04090409},
      {"the computer suspends", WM_POWERBROADCAST, PBT_APMSUSPEND, 0},
      {"the computer resumes", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
      {"another program active", WM_ACTIVATEAPP, FALSE, 0},
      {"this program active again", WM_ACTIVATEAPP, TRUE, 0},
      {"the clock set", WM_TIMECHANGE, 0, 0},
  };
  const ColourChangesHeard colourChanges;
  for (const bool posted : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.what) + (posted ? ", posted" : ", sent"));
      ColourChangesHeard::heard.clear();
      // Strings cross only when sent; a posted WM_SETTINGCHANGE comes with no text.
      const LPARAM lParam = posted && row.message == WM_SETTINGCHANGE ? 0 : row.lParam;
      // The keys wait behind the message: the menu loop it starts reads them from the queue.
      if (row.wParam == SC_KEYMENU && !posted) LeaveMenuLater(window);
      if (posted) {
        PostMessageW(window, row.message, row.wParam, lParam);
        if (row.wParam == SC_KEYMENU) LeaveMenuLater(window);
      } else {
        SendMessageW(window, row.message, row.wParam, lParam);
      }
      driver->Settle();
      ASSERT_TRUE(IsWindow(window));
      if (row.wParam == SC_MINIMIZE) continue;
      EXPECT_FALSE(IsIconic(window));
      RECT client{};
      GetClientRect(window, &client);
      EXPECT_EQ(client.right, design.right);
      EXPECT_EQ(client.bottom, design.bottom);
      for (const auto& control : Form().Controls()) {
        if (const HWND child = WindowOf(*control)) {
          const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0));
          EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << control->Name();
          // The common controls keep colours of their own, so only the form can tell them.
          EXPECT_EQ(ColourChangesHeard::heard.count(child) == 1, row.message == WM_SYSCOLORCHANGE)
              << control->Name();
        }
      }
      EXPECT_EQ(Channels(), channels);
      EXPECT_FALSE(State().blnApplied);
      EXPECT_EQ(Stored(12345678, "Pen Color"), 0x0000FFu);
      EXPECT_EQ(Stored(12345678, "Back Color"), 0xFFFFFFu);
    }
  }
  // A hundred of each leave the program holding what it held: no font, brush, pen, DC or icon
  // made for one and kept, no window made.
  const std::size_t objects = LiveObjects(), windows = ThreadWindows();
  const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int round = 0; round < 100; ++round) {
    for (const auto& row : rows) {
      if (row.wParam == SC_KEYMENU) LeaveMenuLater(window);
      SendMessageW(window, row.message, row.wParam, row.lParam);
    }
  }
  driver->Settle();
  EXPECT_EQ(LiveObjects(), objects);
  EXPECT_EQ(ThreadWindows(), windows);
  if (gdiObjects) {  // Wine answers 0
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
  }
  EXPECT_EQ(Channels(), channels);
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(driver->UnexpectedDialogs(), 0);
}

TEST_F(MainWindowOnWin32, FixedSizeWindowWithMinimizeBoxOnlyThatMaximizingAndMinimizingLeave) {
  StartWithoutOwner();  // the ID field unlocked, with the focus
  HWND window = WindowOf(Form());
  // As a tool or a window manager may ask, and the taskbar.
  for (const WPARAM command : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE}) {
    SendMessageW(window, WM_SYSCOMMAND, command, 0);
  }
  driver->Settle();
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_TRUE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(WindowText(window), u"Tintmark");
  RECT client{};
  GetClientRect(window, &client);
  const int dpi = tk::win32::DpiOf(window);
  EXPECT_EQ(client.right, tk::TwipsToPixels(2760, dpi));
  EXPECT_EQ(client.bottom, tk::TwipsToPixels(4455, dpi));
  EXPECT_NE(GetMenu(window), nullptr);
  EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0u) << "the window's icon at the system's DPI";
}

}  // namespace
}  // namespace tktest
