// The real main window on the real controls: what screen readers and the window manager see.

#include <string>

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
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
}

}  // namespace
}  // namespace tktest
