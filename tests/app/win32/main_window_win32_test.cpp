// The real main window on the real controls: what screen readers, the window manager and a
// high-contrast scheme see.

#include <array>
#include <string>
#include <vector>

#include "app/main_window_harness.h"
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

// What a control paints with: text, background and brush, its form's answer to the
// WM_CTLCOLOR* message the control sends.
using Colors = std::array<COLORREF, 3>;
Colors PaintedWith(const tk::Control& control, UINT message) {
  const HWND window = Win32Backend::WindowOf(control);
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
    const HWND title = Win32Backend::WindowOf(box.Find("lblTitle"));
    ValidateRect(title, nullptr);
    SendMessageW(Win32Backend::WindowOf(box), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(GetUpdateRect(title, nullptr, FALSE)) << "high contrast alone repaints";
    driver->Click(box.Find("cmdOK"));
  });
  driver->ChooseMenu(Menu("mnuHelp"));
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
    HWND previous = GetWindow(Win32Backend::WindowOf(Form().Find(f.field, f.index)), GW_HWNDPREV);
    ASSERT_NE(previous, nullptr) << f.field << f.index;
    wchar_t className[32] = {};
    GetClassNameW(previous, className, 32);
    EXPECT_EQ(std::wstring(className), L"Static") << f.field << f.index;
    EXPECT_EQ(WindowText(previous), f.label) << f.field << f.index;
  }
}

TEST_F(MainWindowOnWin32, FixedSizeWindowWithMinimizeBoxOnlyThatMaximizingAndMinimizingLeave) {
  StartWithoutOwner();  // the ID field unlocked, with the focus
  HWND window = Win32Backend::WindowOf(Form());
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
