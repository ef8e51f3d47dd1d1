// What only the Win32 backend can get wrong: the native window classes and styles, sizes in pixels,
// the menu bar, and the dialog manager's keyboard handling, on the main window's layout (a frame
// holding options, overlapping fields, a multi-line field, etched lines) with no program behind it.

#include "toolkit/win32/win32_backend.h"

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "about/about_layout.h"
#include "app/main_layout.h"
#include "common/scope_exit.h"
#include "common/win32/ansi_text.h"
#include "support/driver.h"
#include "support/win32/driver_win32.h"
#include "support/win32/native_windows.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/win32/controls/window_subclass.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/system_metrics.h"
#include "toolkit/win32/windows_calls.h"

namespace {

using tk::win32::Win32Backend;
using tktest::WindowOf;

std::u16string ClassOf(HWND window) {
  wchar_t name[64] = {};
  const int length = GetClassNameW(window, name, 64);
  return tk::win32::FromWide(name, static_cast<std::size_t>(length));
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

// What Windows 10 1703 on sends when the window is dragged onto a screen of another scale (Wine
// never does): the size the window asks for at that DPI, suggested where the drag leaves it.
RECT ChangeDpi(HWND window, int dpi) {
  RECT place{};
  GetWindowRect(window, &place);
  SIZE size{};
  EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
  place = {place.left + 7, place.top + 5, place.left + 7 + size.cx, place.top + 5 + size.cy};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
  return place;
}

// The client area, and every control where the design puts it in its container at `dpi`, in its
// font; one that sizes itself to its content has only its corner fixed (the icon inside its
// border grows with the DPI).
void ExpectLaidOutAt(const tk::Form& form, int dpi) {
  RECT place{};
  GetClientRect(WindowOf(form), &place);
  EXPECT_EQ(place.right, tk::TwipsToPixels(form.Spec().clientWidth, dpi));
  EXPECT_EQ(place.bottom, tk::TwipsToPixels(form.Spec().clientHeight, dpi));
  for (const auto& control : form.Controls()) {
    const HWND window = WindowOf(*control);
    if (!window) continue;  // a line
    const tk::ControlSpec& spec = control->Spec();
    SCOPED_TRACE(std::string(spec.name) + std::to_string(spec.index) + " at " +
                 std::to_string(dpi));
    GetWindowRect(window, &place);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, tk::TwipsToPixels(spec.left, dpi));
    EXPECT_EQ(place.top, tk::TwipsToPixels(spec.top, dpi));
    if (!spec.autoSize) {
      EXPECT_EQ(place.right - place.left, tk::TwipsToPixels(spec.width, dpi));
      EXPECT_EQ(place.bottom - place.top, tk::TwipsToPixels(spec.height, dpi));
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    if (spec.font) {
      EXPECT_EQ(font.lfHeight, -static_cast<int>(spec.font->points * dpi / 72 + 0.5));
    }
    GetClientRect(window, &place);
    if (spec.showsIcon) {
      EXPECT_EQ(place.right, tk::TwipsToPixels(480, dpi));
    }
  }
}

// A label sized to its caption is exactly as large as the caption drawn in its font.
void ExpectSizedToCaption(HWND label, const wchar_t* caption) {
  RECT text{}, client{};
  {
    tk::win32::WindowDc dc(label);
    tk::win32::Selected font(dc.Get(),
                             reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc.Get(), caption, -1, &text, DT_CALCRECT | DT_SINGLELINE);
  }
  GetClientRect(label, &client);
  EXPECT_EQ(client.right, text.right);
  EXPECT_EQ(client.bottom, text.bottom);
}

int CALLBACK TakeHorizontalFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM face) {
  if (font->lfFaceName[0] == L'@') return 1;  // the vertical form of a face listed also upright
  *reinterpret_cast<std::u16string*>(face) =
      tk::win32::FromWide(font->lfFaceName, std::wcslen(font->lfFaceName));
  return 0;
}

// The face of a font family the system lists first, as a font dialog would show it.
std::u16string FirstListedFace() {
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  std::u16string face;
  tk::win32::WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.Get(), &any, &TakeHorizontalFace, reinterpret_cast<LPARAM>(&face), 0);
  return face;
}

// What a subclasser that came after the program's own sees of a field.
struct OutsideView {
  int characters = 0;
  int programPropertiesAtEnd = -1;  // left on the window when its WM_NCDESTROY has been handled
};

BOOL CALLBACK CountProgramProperties(HWND, LPSTR name, HANDLE, ULONG_PTR count) {
  if (!IS_INTRESOURCE(name) && std::strncmp(name, "Tintmark", 8) == 0) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

LRESULT CALLBACK WatchFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
  auto& view = *reinterpret_cast<OutsideView*>(data);
  if (message == WM_CHAR) ++view.characters;
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    view.programPropertiesAtEnd = 0;
    EnumPropsExA(window, &CountProgramProperties,
                 reinterpret_cast<LPARAM>(&view.programPropertiesAtEnd));
  }
  return result;
}

class Win32MainForm : public ::testing::Test {
 protected:
  Win32MainForm() {
    for (const auto& item : form.Menus()) {
      item->Click = [this, name = std::string(item->Name())] { log.push_back(name + " click"); };
    }
    for (const auto& control : form.Controls()) {
      if (auto* button = dynamic_cast<tk::CommandButton*>(control.get())) {
        button->Click = [this, button] { log.push_back(std::string(button->Name()) + " click"); };
      }
    }
  }

  HWND Window(const char* name, int index = -1) { return WindowOf(form.Find(name, index)); }
  tk::Control& Control(const char* name, int index = -1) { return form.Find(name, index); }
  HWND FormWindow() { return WindowOf(form); }
  int Dpi() { return tk::win32::DpiOf(FormWindow()); }

  std::vector<std::string> log;
  std::unique_ptr<tktest::Driver> driver = tktest::MakeDriver();
  tk::FormSpec spec = app::MainFormSpec(app::JapaneseTexts());
  tk::Form form{driver->App(), spec};
};

TEST_F(Win32MainForm, ControlsAreTheNativeWindowClassesWithTheirStyles) {
  form.Show();
  EXPECT_FALSE(GetUpdateRect(FormWindow(), nullptr, FALSE)) << "drawn before Show returns";
  driver->Show(form);

  EXPECT_EQ(ClassOf(Window("txtColor", 0)), u"Edit");
  EXPECT_EQ(SendMessageW(Window("txtColor", 0), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_TRUE(StyleOf(Window("txtColor", 0)) & ES_AUTOHSCROLL);
  EXPECT_TRUE(StyleOf(Window("txtTest")) & ES_MULTILINE);
  EXPECT_FALSE(StyleOf(Window("txtTest")) & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL))
      << "wraps at the field's width";
  EXPECT_FALSE(IsWindowEnabled(Window("txtID")));
  // A field the design does not limit keeps the system's first limit.
  const HWND fresh =
      CreateWindowExW(0, L"EDIT", L"", static_cast<DWORD>(StyleOf(Window("txtTest"))), 0, 0, 8, 8,
                      FormWindow(), nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageW(Window("txtTest"), EM_GETLIMITTEXT, 0, 0),
            SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0));
  DestroyWindow(fresh);

  EXPECT_EQ(ClassOf(Window("btnAccept")), u"Button");
  EXPECT_EQ(StyleOf(Window("btnAccept")) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(StyleOf(Window("optObject", 1)) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
  EXPECT_EQ(StyleOf(Window("frmDes")) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(ClassOf(Window("Label1")), u"Static");
  EXPECT_FALSE(StyleOf(Window("Label1")) & SS_NOPREFIX) << "the & marks the access key";

  EXPECT_EQ(GetParent(Window("optDes", 0)), Window("frmDes")) << "the frame holds its options";
  EXPECT_EQ(GetParent(Window("optObject", 0)), FormWindow());

  for (const auto& control : form.Controls()) {
    if (const HWND window = WindowOf(*control)) {
      const int id = GetDlgCtrlID(window);
      EXPECT_NE(id, IDOK) << control->Name();
      EXPECT_NE(id, IDCANCEL) << control->Name();
    }
  }
  // The bytes DefDlgProc keeps its state in on Windows (Wine keeps it elsewhere).
  EXPECT_GE(GetClassLongPtrW(FormWindow(), GCL_CBWNDEXTRA), DLGWINDOWEXTRA);

  // A child window that is none of the program's (an add-in's, say), its id that of a control
  // with colours of its own, among the next after the last control's, or any other: the system
  // colours it.
  int lastId = 0;
  for (const auto& control : form.Controls()) {
    if (const HWND window = WindowOf(*control)) lastId = std::max(lastId, GetDlgCtrlID(window));
  }
  std::vector<int> ids{GetDlgCtrlID(Window("txtTest")), 0xFFFF};
  for (int next = 1; next <= 16; ++next) ids.push_back(lastId + next);
  for (const int id : ids) {
    const HWND foreign =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 8, 8, FormWindow(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    tk::win32::WindowDc dc(foreign);
    EXPECT_EQ(SendMessageW(FormWindow(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                           reinterpret_cast<LPARAM>(foreign)),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)))
        << id;
  }
  // What such a window tells its parent is not a click of the program's control under that id.
  for (const int id : {GetDlgCtrlID(Window("btnAccept")), lastId + 1}) {
    const HWND foreign = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 8, 8, FormWindow(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(foreign, BM_CLICK, 0, 0);
  }
  driver->Settle();
  EXPECT_EQ(log, std::vector<std::string>{});
}

TEST_F(Win32MainForm, SizesAndPositionsAreTheTwipsAtTheWindowsDpi) {
  driver->Show(form);
  const int dpi = Dpi();
  // As Windows 8.1 on a monitor of another scale than the system's: the monitor's.
  if (const char* monitor = std::getenv("TINTMARK_MONITOR_DPI")) {
    EXPECT_EQ(dpi, std::atoi(monitor));
  }

  RECT client{};
  GetClientRect(FormWindow(), &client);
  EXPECT_EQ(client.right, tk::TwipsToPixels(2760, dpi));
  EXPECT_EQ(client.bottom, tk::TwipsToPixels(4455, dpi));
  if (dpi == 96) {
    EXPECT_EQ(client.right, 184);
    EXPECT_EQ(client.bottom, 297);
  }

  const LONG_PTR style = StyleOf(FormWindow());
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) << "neither maximized nor resized";

  // Frame members are placed inside the frame, whose corner lies outside the client area.
  RECT option{};
  GetWindowRect(Window("optDes", 0), &option);
  MapWindowPoints(nullptr, FormWindow(), reinterpret_cast<POINT*>(&option), 2);
  EXPECT_EQ(option.left, tk::TwipsToPixels(-120, dpi) + tk::TwipsToPixels(480, dpi));
  EXPECT_EQ(option.top, tk::TwipsToPixels(-90, dpi) + tk::TwipsToPixels(1320, dpi));

  ExpectSizedToCaption(Window("Label1"), L"赤(&R) :");

  // On screens of 144 and 120 DPI and back: all laid out afresh, as at creation, where the drag
  // left it, and as large as it said, where the frame is drawn at that DPI (Wine's stays at the
  // system's whatever WM_DPICHANGED says).
  for (const int changed : {144, 120, 96}) {
    RECT suggested = ChangeDpi(FormWindow(), changed), taken{};
    GetWindowRect(FormWindow(), &taken);
    if (Dpi() != changed || changed != tk::win32::SystemDpi()) {
      suggested.right = taken.right, suggested.bottom = taken.bottom;
    }
    EXPECT_TRUE(EqualRect(&taken, &suggested)) << "moved or resized again at " << changed;
    ExpectLaidOutAt(form, changed);
  }
}

// Asked by Windows 10 what size it wants at a DPI, a window whose menu bar wraps counts each row.
TEST(Win32NarrowForm, AsksForTheSizeItTakesWithItsMenuBarInRows) {
  const auto driver = tktest::MakeDriver();
  const tk::FormSpec spec{.name = "frmNarrow",
                          .caption = u"Narrow",
                          .clientWidth = 2400,
                          .clientHeight = 600,
                          .menus = {{.name = "mnuFirst", .caption = u"&First of the menus"},
                                    {.name = "mnuSecond", .caption = u"&Second of the menus"},
                                    {.name = "mnuThird", .caption = u"&Third of the menus"}}};
  tk::Form form{driver->App(), spec};
  driver->Show(form);
  const HWND window = WindowOf(form);
  const int dpi = tk::win32::DpiOf(window);
  if (dpi != tk::win32::SystemDpi()) GTEST_SKIP() << "Wine draws every frame at the system's DPI";
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  ASSERT_EQ(client.bottom, tk::TwipsToPixels(600, dpi));
  SIZE asked{};
  SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&asked));
  EXPECT_EQ(asked.cx, outer.right - outer.left);
  EXPECT_EQ(asked.cy, outer.bottom - outer.top);
  form.Unload();
}

TEST_F(Win32MainForm, NamedFontsUseTheJapaneseFaceAtTheirPointSize) {
  driver->Show(form);
  const std::u16string face = tk::win32::FaceInUse(u"ＭＳ Ｐゴシック");
  RecordProperty("JapaneseFace", std::string(face.begin(), face.end()));
  ASSERT_FALSE(face.empty());

  LOGFONTW field{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Window("txtColor", 1), WM_GETFONT, 0, 0)),
             sizeof(field), &field);
  EXPECT_EQ(field.lfHeight, -MulDiv(1125, Dpi(), 7200)) << "11.25 points";
  EXPECT_EQ(field.lfWeight, 400);
  EXPECT_EQ(field.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(tk::win32::FromWide(field.lfFaceName, std::wcslen(field.lfFaceName)), face);

  LOGFONTW label{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Window("Label2"), WM_GETFONT, 0, 0)),
             sizeof(label), &label);
  EXPECT_EQ(label.lfHeight, -MulDiv(9, Dpi(), 72));
  EXPECT_EQ(label.lfWeight, 700);

  LOGFONTW plain{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Window("btnQuit"), WM_GETFONT, 0, 0)),
             sizeof(plain), &plain);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);  // the size every Windows takes
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  EXPECT_STREQ(plain.lfFaceName, metrics.lfMessageFont.lfFaceName)
      << "controls that name no font use the system's message font";
  // Which faces are there is the system's list: one it lists is, a made-up one is not.
  const std::u16string listed = FirstListedFace();
  ASSERT_FALSE(listed.empty());
  EXPECT_TRUE(tk::win32::WideOrAnsi().FaceExists(listed))
      << std::string(listed.begin(), listed.end());
  EXPECT_FALSE(tk::win32::WideOrAnsi().FaceExists(u"Tintmark Made-up Face"));

  // The user makes text and menus larger, for this session only; the system computes the frames
  // afresh and tells the windows. The window grows by the menu bar's growth.
  const common::ScopeExit restore(
      [&] { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0); });
  NONCLIENTMETRICSW larger = metrics;
  larger.lfMessageFont.lfHeight *= 2;
  larger.iMenuHeight *= 2;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, larger.cbSize, &larger, 0));
  SetWindowPos(FormWindow(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(FormWindow(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Window("btnQuit"), WM_GETFONT, 0, 0)),
             sizeof(plain), &plain);
  // The system's metrics are at the system's DPI; the window's may be a monitor's of another.
  EXPECT_EQ(plain.lfHeight, MulDiv(larger.lfMessageFont.lfHeight, Dpi(), tk::win32::SystemDpi()));
  ExpectLaidOutAt(form, Dpi());
}

TEST_F(Win32MainForm, MenuBarShowsShortcutsAfterATabAndRunsItsLoneItem) {
  driver->Show(form);
  const HMENU bar = GetMenu(FormWindow());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  const HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr) << "the About item has no sub-menu";

  wchar_t text[64] = {};
  GetMenuStringW(file, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"開く(&O)\tCtrl+O");
  GetMenuStringW(file, 2, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"名前を付けて保存(&N)\tCtrl+X");
  EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR);
  GetMenuStringW(file, 6, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&IDの変更\tCtrl+I");
  GetMenuStringW(file, 8, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"適用して終了(&E)\tCtrl+Z");
  EXPECT_EQ(GetMenuItemCount(file), 10);
  GetMenuStringW(bar, 1, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Tintmarkについて(&H)") << "no shortcut, no tab";

  driver->ChooseMenu(form.Menu("mnuFile"));
  driver->PressKey('E');
  driver->PressKey('H', tk::kAltBit);
  EXPECT_EQ(log, (std::vector<std::string>{"mnuEnd click", "mnuHelp click"}));
}

TEST_F(Win32MainForm, TabWalksThroughTheFrameInTabOrderAndEntersAnOptionPairOnce) {
  driver->Show(form);
  ASSERT_EQ(driver->ShownFocus(form), &Control("btnAccept"));

  driver->PressKey(tktest::kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Control("optDes", 0)) << "inside the frame, tab 1";
  driver->PressKey(tktest::kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Control("optObject", 1)) << "the selected one of the pair";
  driver->PressKey(tktest::kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 0)) << "the label takes no focus";
  driver->PressKey(tktest::kVkTab, tk::kShiftBit);
  driver->PressKey(tktest::kVkTab, tk::kShiftBit);
  EXPECT_EQ(driver->ShownFocus(form), &Control("optDes", 0));

  // An arrow key moves within the pair and selects, as a click would.
  driver->PressKey(tktest::kVkRight);
  EXPECT_EQ(driver->ShownFocus(form), &Control("optDes", 1));
  EXPECT_TRUE(form.Get<tk::OptionButton>("optDes", 1).Value());
  EXPECT_FALSE(driver->ShownChecked(Control("optDes", 0)));
  EXPECT_TRUE(driver->ShownChecked(Control("optObject", 1))) << "the other pair stays";

  // With neither selected, the keyboard still enters the pair, at its first option.
  form.Get<tk::OptionButton>("optDes", 1).SetValue(false);
  driver->PressKey(tktest::kVkTab);
  driver->PressKey(tktest::kVkTab, tk::kShiftBit);
  EXPECT_EQ(driver->ShownFocus(form), &Control("optDes", 0));
}

TEST_F(Win32MainForm, ChannelLabelAccessKeysFocusTheirFields) {
  driver->Show(form);
  driver->PressKey('G', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 1));
  driver->PressKey('B', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 2));
  driver->PressKey('R', tk::kAltBit);
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 0));
  EXPECT_EQ(log, std::vector<std::string>{});
}

// The program's flags reach the system's dialog: told to, it asks before a save replaces a file.
TEST_F(Win32MainForm, TheSaveDialogAsksBeforeReplacingAFileWhenTold) {
  driver->Show(form);
  wchar_t existing[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, existing, MAX_PATH);
  tk::FileDialog files(driver->App(), u"Tintmark", u"*.reg|*.reg|*.*|*.*", u"");
  files.Flags = OFN_OVERWRITEPROMPT;
  driver->AnswerNextFileDialog(tk::win32::FromWide(existing, length));
  EXPECT_EQ(files.ShowSave(), tk::DialogResult::kOk);
  EXPECT_EQ(driver->UnexpectedDialogs(), 1) << "the system's question, answered Yes";

  // A name with wildcards: the dialog opens in its folder.
  wchar_t folder[MAX_PATH] = {};
  const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
  files.FileName = tk::win32::FromWide(folder, folderLength) + u"\\*.reg";
  driver->CancelNextFileDialog();
  files.ShowOpen();
  const auto& win32 = static_cast<tktest::Win32Driver&>(*driver);
  ASSERT_FALSE(win32.ShownFolders().empty());
  EXPECT_EQ(win32.ShownFolders().back(), tk::win32::FromWide(folder, folderLength));
  EXPECT_EQ(win32.ShownFilters().back(), 0) << "the first filter chosen";
}

TEST_F(Win32MainForm, EnterAndEscapeDoNothingOnAFocusedButtonOrInTheMultiLineField) {
  std::vector<int> unloads;
  form.QueryUnload = [&](std::int16_t&, std::int16_t mode) { unloads.push_back(mode); };
  driver->Show(form);

  driver->Click(Control("txtColor", 2));
  driver->PressKey(tktest::kVkTab);
  ASSERT_EQ(driver->ShownFocus(form), &Control("btnUp", 2));
  EXPECT_EQ(StyleOf(Window("btnUp", 2)) & BS_TYPEMASK, BS_PUSHBUTTON)
      << "a button reached with Tab does not become the default";
  driver->PressKey(tktest::kVkReturn);
  driver->PressKey(tktest::kVkEscape);
  // A key held down repeats its WM_KEYDOWN with bit 30 set: one press all the same.
  int keyDowns = 0;
  form.Get<tk::CommandButton>("btnUp", 2).KeyDown = [&](std::int16_t, std::int16_t) { ++keyDowns; };
  for (const LPARAM repeat : {0, 1 << 30}) {
    SendMessageW(Window("btnUp", 2), WM_KEYDOWN, 'Q', 1 | repeat);
  }
  EXPECT_EQ(keyDowns, 1);

  driver->Click(Control("txtTest"));
  driver->PressKey(tktest::kVkEscape);
  driver->PressKey(tktest::kVkReturn);
  EXPECT_EQ(log, std::vector<std::string>{});
  EXPECT_EQ(unloads, std::vector<int>{}) << "Esc in a multi-line field must not close the form";
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(driver->ShownText(Control("txtTest")), u"\r\n") << "Enter starts a new line there";

  driver->PressKey(tktest::kVkTab);
  EXPECT_EQ(driver->ShownFocus(form), &Control("btnAccept")) << "Tab leaves the multi-line field";
}

TEST_F(Win32MainForm, AMessageBoxOrAnotherProgramTakesTheKeyboardWithoutMovingTheFormsFocus) {
  std::vector<std::string> focus;
  for (const auto& control : form.Controls()) {
    const std::string name(control->Name());
    control->GotFocus = [&focus, name] { focus.push_back(name + " got"); };
    control->LostFocus = [&focus, name] { focus.push_back(name + " lost"); };
  }
  driver->Show(form);
  driver->Click(Control("txtColor", 1));
  focus.clear();

  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->App().MsgBox(u"IDを入力してください。", tk::kMbOk + tk::kMbInformation,
                       u" - ID入力要求 - Tintmark");
  driver->Settle();
  EXPECT_EQ(focus, std::vector<std::string>{}) << "the field keeps the focus through the box";
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 1));
  EXPECT_EQ(GetActiveWindow(), FormWindow());

  // Another program's window, in a thread of its own, takes the activation and gives it back.
  const HANDLE shown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([shown, done] {
    const HWND window = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                        nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    SetEvent(shown);
    MSG message{};
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    DestroyWindow(window);
  });
  WaitForSingleObject(shown, 5000);
  driver->Settle();
  EXPECT_NE(GetActiveWindow(), FormWindow());
  // A box shown meanwhile still belongs to the form that was active last, also after another
  // form has come and gone unseen.
  {
    tk::Form unseen{driver->App(), spec};
    unseen.LoadForm();
    unseen.Unload();
  }
  EXPECT_NE(GetActiveWindow(), FormWindow())
      << "a form gone meanwhile leaves the activation where it is";
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->App().MsgBox(u"色の設定を保存しました。", tk::kMbOk, u"Tintmark");
  const auto& owners = static_cast<tktest::Win32Driver&>(*driver).DialogOwners();
  EXPECT_EQ(owners.empty() ? nullptr : owners.back(), FormWindow());
  SetEvent(done);
  other.join();
  SetForegroundWindow(FormWindow());
  driver->Settle();
  CloseHandle(shown);
  CloseHandle(done);
  EXPECT_EQ(focus, std::vector<std::string>{}) << "the field keeps the focus through the other";
  EXPECT_EQ(driver->ShownFocus(form), &Control("txtColor", 1));
}

// A window of the thread outside the program's forms, a tool's or an input method's, gets its
// keys as characters.
TEST_F(Win32MainForm, KeysForAWindowOutsideTheFormsBecomeItsCharacters) {
  driver->Show(form);
  const HWND other = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 80, 20, nullptr,
                                     nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  PostMessageW(other, WM_KEYDOWN, 'A', MAKELPARAM(1, MapVirtualKeyW('A', MAPVK_VK_TO_VSC)));
  driver->Settle();
  wchar_t text[8] = {};
  GetWindowTextW(other, text, 8);
  EXPECT_STREQ(text, L"a");
  DestroyWindow(other);
}

TEST_F(Win32MainForm, CloseMessagesTellTheirReason) {
  std::vector<int> unloads;
  form.QueryUnload = [&](std::int16_t& cancel, std::int16_t mode) {
    unloads.push_back(mode);
    cancel = unloads.size() < 2 ? 1 : 0;
  };
  driver->Show(form);

  PostMessageW(FormWindow(), WM_CLOSE, 0, 0);  // what taskkill sends
  driver->Settle();
  driver->PressKey(VK_F4, tk::kAltBit);
  EXPECT_EQ(unloads, (std::vector<int>{tk::kUnloadByTaskManager, tk::kUnloadByCloseBox}));
  EXPECT_TRUE(form.IsUnloaded());
  EXPECT_FALSE(IsWindow(FormWindow()));
}

TEST_F(Win32MainForm, EtchedLineAndFrameEdgeAreDrawnInTheSystemColors) {
  driver->Show(form);
  RedrawWindow(FormWindow(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const int dpi = Dpi();
  const int x = tk::TwipsToPixels(2700, dpi);  // right of every field, left of the frame's edge
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  tk::win32::WindowDc dc(FormWindow());
  EXPECT_EQ(GetPixel(dc.Get(), x, 0), shadow) << "the front line on top";
  EXPECT_EQ(GetPixel(dc.Get(), x, 1), highlight) << "the three-pixel line below it";
  const int frameBottom = tk::TwipsToPixels(-90, dpi) + tk::TwipsToPixels(1635, dpi);
  EXPECT_EQ(GetPixel(dc.Get(), x, frameBottom - 2), shadow);
  EXPECT_EQ(GetPixel(dc.Get(), x, frameBottom - 1), highlight);
}

TEST_F(Win32MainForm, AFieldSubclassedAgainFromOutsideStillReportsItsEvents) {
  auto& field = form.Get<tk::TextBox>("txtColor", 0);
  std::vector<std::u16string> changes;
  field.Change = [&] { changes.push_back(field.Text()); };
  driver->Show(form);
  // As an input method or a screen reader would, after the program's own subclass.
  OutsideView view;
  ASSERT_TRUE(SetWindowSubclass(Window("txtColor", 0), &WatchFromOutside, 1,
                                reinterpret_cast<DWORD_PTR>(&view)));

  driver->Click(field);
  driver->SelectAll();
  driver->Type(u"42");
  EXPECT_EQ(changes, (std::vector<std::u16string>{u"4", u"42"}));
  EXPECT_EQ(view.characters, 2);
  // Set in code, text the ANSI code page cannot hold is the field's as set, changed once.
  field.SetText(u"한");
  EXPECT_EQ(changes, (std::vector<std::u16string>{u"4", u"42", u"한"}));
  driver->CloseBox(form);
  EXPECT_FALSE(IsWindow(FormWindow()));
  EXPECT_EQ(view.programPropertiesAtEnd, 0) << "Windows wants them gone by then";
}

LRESULT PassOn(void* owner, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<tk::win32::WindowSubclass*>(owner)->CallNext(message, wParam, lParam);
}

TEST(WindowSubclass, IsPutInFrontOfAWindowOnceEvenWhenAnotherCameAfterIt) {
  const HWND window =
      CreateWindowExW(0, L"STATIC", L"x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  OutsideView view;
  {
    tk::win32::WindowSubclass subclass;
    ASSERT_TRUE(subclass.Install(window, &PassOn, &subclass));
    ASSERT_TRUE(
        SetWindowSubclass(window, &WatchFromOutside, 1, reinterpret_cast<DWORD_PTR>(&view)));
    subclass.Remove();
    EXPECT_FALSE(subclass.Install(window, &PassOn, &subclass));
    SendMessageW(window, WM_CHAR, 'a', 0);  // would recurse for ever through both
    SetWindowTextW(window, L"passed on");
  }
  EXPECT_EQ(view.characters, 1);
  wchar_t text[16] = {};
  GetWindowTextW(window, text, 16);
  EXPECT_STREQ(text, L"passed on") << "the window's own procedure still answers";
  DestroyWindow(window);
}

// The system's annotation service as XP and later offer it (Wine's refuses every annotation),
// registered in this process for as long as it lives: what was set and cleared, by window. Not
// `available`, it stands for a system without it (95, 98 and NT 4.0 without the update).
class AnnotationService final : public IAccPropServices, public IClassFactory {
 public:
  explicit AnnotationService(bool available = true) : available_(available) {
    CoInitialize(nullptr);
    CoRegisterClassObject(kClass, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER,
                          REGCLS_MULTIPLEUSE, &cookie_);
  }
  ~AnnotationService() {
    CoRevokeClassObject(cookie_);
    CoUninitialize();
  }
  std::vector<std::pair<HWND, std::u16string>> names;
  std::vector<HWND> cleared;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = IsEqualIID(id, __uuidof(IClassFactory))
                  ? static_cast<void*>(static_cast<IClassFactory*>(this))
              : IsEqualIID(id, kInterface) || IsEqualIID(id, __uuidof(IUnknown))
                  ? static_cast<void*>(static_cast<IAccPropServices*>(this))
                  : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID id, void** object) override {
    *object = nullptr;
    return available_ ? QueryInterface(id, object) : CLASS_E_CLASSNOTAVAILABLE;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND window, DWORD object, DWORD child,
                                           MSAAPROPID property, LPCWSTR text) override {
    if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF ||
        !IsEqualGUID(property, kName)) {
      return E_INVALIDARG;
    }
    names.emplace_back(window, reinterpret_cast<const char16_t*>(text));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID* properties,
                                           int count) override {
    if (count == 1 && IsEqualGUID(properties[0], kName)) cleared.push_back(window);
    return S_OK;
  }
  // What the program has no use for.
#define TINTMARK_UNUSED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
  TINTMARK_UNUSED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
  TINTMARK_UNUSED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                  AnnoScope)
  TINTMARK_UNUSED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
  TINTMARK_UNUSED(SetHwndProp, HWND, DWORD, DWORD, MSAAPROPID, VARIANT)
  TINTMARK_UNUSED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                  AnnoScope)
  TINTMARK_UNUSED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
  TINTMARK_UNUSED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
  TINTMARK_UNUSED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
  TINTMARK_UNUSED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
  TINTMARK_UNUSED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                  AnnoScope)
  TINTMARK_UNUSED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
  TINTMARK_UNUSED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
  TINTMARK_UNUSED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef TINTMARK_UNUSED

 private:
  static constexpr GUID kClass = {
      0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
  static constexpr GUID kInterface = {
      0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
  static constexpr GUID kName = {
      0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
  bool available_;
  DWORD cookie_ = 0;
};

// A screen reader that comes back to IAccessible through another of the object's interfaces
// (WindowFromAccessibleObject goes through IOleWindow) still reads the program's name.
TEST_F(Win32MainForm, ANamedControlsAccessibleObjectIsOneObjectThroughEachOfItsInterfaces) {
  const AnnotationService none(false);
  driver->Show(form);
  const HWND up = Window("btnUp", 0);
  const LRESULT answer = SendMessageW(up, WM_GETOBJECT, 0, OBJID_CLIENT);
  // Without Active Accessibility (NT 4.0 lacks it) the system makes its own object.
  if (!GetProcAddress(LoadLibraryA("oleacc.dll"), "CreateStdAccessibleObject")) {
    EXPECT_EQ(answer, 0);
    return;
  }
  ASSERT_GT(answer, 0);
  IAccessible* accessible = nullptr;
  ASSERT_EQ(
      ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&accessible)),
      S_OK);
  IOleWindow* oleWindow = nullptr;
  ASSERT_EQ(accessible->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&oleWindow)),
            S_OK);
  HWND behind = nullptr;
  EXPECT_EQ(oleWindow->GetWindow(&behind), S_OK);
  EXPECT_EQ(behind, up);
  IAccessible* back = nullptr;
  ASSERT_EQ(oleWindow->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&back)),
            S_OK);
  EXPECT_EQ(back, accessible);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  ASSERT_EQ(back->get_accName(self, &name), S_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name)), u"赤 ▲");
  SysFreeString(name);
  back->Release();
  oleWindow->Release();
  EXPECT_EQ(accessible->Release(), 0u) << "gone with the reader's last reference";

  tktest::refuseAccessibleObject = true;
  const common::ScopeExit allow([] { tktest::refuseAccessibleObject = false; });
  EXPECT_EQ(SendMessageW(up, WM_GETOBJECT, 0, OBJID_CLIENT), 0)
      << "without the system's object to name, the system makes its own";
}

// Where the system annotates, a named control leaves its accessible object to the system, which
// then reads the sample box as the edit it is, its text as its value, under the program's name.
TEST_F(Win32MainForm, NamedControlsAreAnnotatedWhereTheSystemCanAndTheSystemsObjectsServe) {
  AnnotationService service;
  driver->Show(form);
  form.Get<tk::TextBox>("txtTest").SetText(u"Tintmark");
  const HWND sample = Window("txtTest"), up = Window("btnUp", 2);
  constexpr LPARAM kUiAutomationRoot = -25;  // UiaRootObjectId, asked before anything else
  EXPECT_EQ(SendMessageW(sample, WM_GETOBJECT, 0, kUiAutomationRoot), 0);
  EXPECT_EQ(SendMessageW(sample, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  EXPECT_EQ(SendMessageW(up, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  EXPECT_EQ(SendMessageW(Window("btnQuit"), WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  using Named = std::pair<HWND, std::u16string>;
  EXPECT_EQ(service.names, (std::vector<Named>{{sample, u"見本"}, {up, u"青 ▲"}}))
      << "once each, when first asked; a control its caption names is left alone";

  IAccessible* object = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(sample, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
            S_OK);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role{};
  EXPECT_EQ(object->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  BSTR value = nullptr;
  EXPECT_EQ(object->get_accValue(self, &value), S_OK);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(value ? value : L"")), u"Tintmark");
  SysFreeString(value);
  object->Release();

  form.Unload();
  std::sort(service.cleared.begin(), service.cleared.end());
  std::vector<HWND> annotated{sample, up};
  std::sort(annotated.begin(), annotated.end());
  EXPECT_EQ(service.cleared, annotated) << "before the windows go";
}

// What it left half done cannot be known: one box says so, and the program ends.
TEST_F(Win32MainForm, AnExceptionReachingAWindowProcedureEndsTheProgramWithOneBox) {
  form.Get<tk::CommandButton>("btnQuit").Click = [] { throw std::runtime_error("handler"); };
  form.Get<tk::TextBox>("txtColor", 0).KeyDown = [](std::int16_t, std::int16_t) {
    throw std::runtime_error("handler");
  };
  driver->Show(form);
  auto& win32 = static_cast<tktest::Win32Driver&>(*driver);
  win32.ExpectProgramEnd();
  win32.Backend().SetFailureMessage(u"Something failed.", u"Failure - Tintmark");

  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Control("btnQuit"));
  EXPECT_EQ(win32.ProgramEnds(), 1);
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(driver->MessageBoxes()[0].text, u"Something failed.");
  EXPECT_EQ(driver->MessageBoxes()[0].title, u"Failure - Tintmark");
  EXPECT_EQ(driver->MessageBoxes()[0].style, 16);

  // Here the test goes on where the program would have ended; a control's procedure ends it too.
  driver->Click(Control("txtColor", 0));
  driver->PressKey(tktest::kVkUp);
  EXPECT_EQ(win32.ProgramEnds(), 2);
  EXPECT_EQ(driver->MessageBoxes().size(), 1u) << "one box, however many follow";
}

int IconWidth(LONG_PTR icon) {
  ICONINFO info{};
  if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// The title bar's and the taskbar's icons: the program's own image of the size the DPI asks for,
// not a smaller one stretched.
TEST_F(Win32MainForm, WindowIconsAreTheProgramIconAtTheSizesOfTheDpi) {
  driver->Show(form);
  const HWND window = FormWindow();
  // What the title bar and the taskbar draw: the window's own icon, else its class's.
  const auto shown = [window](WPARAM which, int classIcon) {
    const LRESULT own = SendMessageW(window, WM_GETICON, which, 0);
    return IconWidth(own ? own : static_cast<LRESULT>(GetClassLongPtrW(window, classIcon)));
  };
  EXPECT_EQ(shown(ICON_BIG, GCLP_HICON), Dpi() / 3) << "at the DPI it starts at";
  EXPECT_EQ(shown(ICON_SMALL, GCLP_HICONSM), Dpi() / 6) << "at the DPI it starts at";
  for (const int dpi : {96, 120, 144, 192, 96}) {
    ChangeDpi(window, dpi);
    EXPECT_EQ(shown(ICON_BIG, GCLP_HICON), dpi / 3) << dpi;
    EXPECT_EQ(shown(ICON_SMALL, GCLP_HICONSM), dpi / 6) << dpi;
  }
  // The class's icons are its own, not the shared cache's, which on Windows 95, 98 and ME holds
  // one image per resource name whatever the size asked (Wine's keys by size, like NT's).
  for (const int which : {GCLP_HICON, GCLP_HICONSM}) {
    const int size = IconWidth(GetClassLongPtrW(window, which));
    const HANDLE shared = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                     size, size, LR_SHARED);
    EXPECT_NE(reinterpret_cast<LONG_PTR>(shared), GetClassLongPtrW(window, which)) << size;
  }
  // Where the program's own cannot be loaded, the system's application icon stands in.
  tktest::refuseProgramIcon = true;
  ChangeDpi(window, 120);
  tktest::refuseProgramIcon = false;
  const LRESULT big = SendMessageW(window, WM_GETICON, ICON_BIG, 0);
  const int size = IconWidth(big);
  EXPECT_EQ(big, reinterpret_cast<LRESULT>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON,
                                                      size, size, LR_SHARED)));
}

TEST(Win32AboutForm, IconPictureIsSunkenAndSizedToTheIconAndTheFormIsOwned) {
  auto driver = tktest::MakeDriver();
  tk::FormSpec mainSpec = app::MainFormSpec(app::JapaneseTexts());
  tk::Form main(driver->App(), mainSpec);
  driver->Show(main);
  const tk::FormSpec aboutSpec = about::AboutFormSpec(app::JapaneseTexts().about);
  tk::Form about(driver->App(), aboutSpec);
  {
    // The screen's device context refused (no GDI memory left): where the system's DPI is the
    // window's, before Windows 8.1, the box is laid out at 96.
    tktest::refuseScreenDc = true;
    const common::ScopeExit allow([] { tktest::refuseScreenDc = false; });
    driver->Show(about);
    // Nor can Japanese text be measured then, so it is not promised.
    EXPECT_FALSE(static_cast<tktest::Win32Driver&>(*driver).Backend().CanShow(
        u"色の設定", app::JapaneseTexts().labelFont));
  }

  const HWND window = WindowOf(about);
  EXPECT_EQ(GetWindow(window, GW_OWNER), WindowOf(main));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(StyleOf(window) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_SYSMENU);
  EXPECT_EQ(StyleOf(WindowOf(about.Find("cmdOK"))) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  const int dpi = tk::win32::DpiOf(window);
  // The etched line above the button: one row of shadow over one of highlight.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  {
    const int x = 5, shadow = tk::TwipsToPixels(1245, dpi),
              highlight = tk::TwipsToPixels(1260, dpi);
    tk::win32::WindowDc dc(window);
    EXPECT_EQ(GetPixel(dc.Get(), x, shadow - 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc.Get(), x, shadow), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc.Get(), x, highlight), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(dc.Get(), x, highlight + 1), GetSysColor(COLOR_BTNFACE));
  }
  about.Get<tk::Label>("lblVersion").SetCaption(u"Version 10.99.9999");
  ExpectSizedToCaption(WindowOf(about.Find("lblVersion")), L"Version 10.99.9999");

  const HWND icon = WindowOf(about.Find("picIcon"));
  EXPECT_EQ(StyleOf(icon) & SS_TYPEMASK, SS_ICON);
  EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
  EXPECT_TRUE(GetWindowLongPtrW(icon, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT client{}, outer{};
  GetClientRect(icon, &client);
  GetWindowRect(icon, &outer);
  const int side = tk::TwipsToPixels(480, dpi);  // 32 pixels at 96 DPI
  EXPECT_EQ(client.right, side);
  EXPECT_EQ(client.bottom, side);
  EXPECT_EQ(outer.right - outer.left, side + 2 * GetSystemMetrics(SM_CXEDGE));

  // With the main window on a screen of another DPI, the offset is the box's own pixels.
  main.Move(1500, 1500);
  ChangeDpi(WindowOf(main), 144);
  about.MoveFrom(main, 150, 900);
  GetWindowRect(WindowOf(main), &client);
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left - client.left, tk::TwipsToPixels(150, dpi));
  EXPECT_EQ(outer.top - client.top, tk::TwipsToPixels(900, dpi));
  EXPECT_EQ(main.Left(), tk::PixelsToTwips(client.left, 144));
  ChangeDpi(window, 144);
  ExpectLaidOutAt(about, 144);

  // No message font from the system: a text that names no face takes the logical dialog face in
  // any character set, a control without a font the stock one.
  tktest::refuseMessageFont = true;
  const common::ScopeExit allow([] { tktest::refuseMessageFont = false; });
  const tk::FormSpec englishSpec = about::AboutFormSpec(app::EnglishTexts().about);
  tk::Form english(driver->App(), englishSpec);
  driver->Show(english);
  LOGFONTW title{};
  GetObjectW(
      reinterpret_cast<HGDIOBJ>(SendMessageW(WindowOf(english.Find("lblTitle")), WM_GETFONT, 0, 0)),
      sizeof(title), &title);
  EXPECT_STREQ(title.lfFaceName, L"MS Shell Dlg");
  EXPECT_EQ(title.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(SendMessageW(WindowOf(english.Find("cmdOK")), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
}

// The English texts in the same design, at 96 and at 144 DPI: each button's and option's caption
// fits inside it, the hint inside its box, each label ends before the field it names, and every
// glyph is in the control's font.
TEST(Win32EnglishForms, EveryCaptionFitsItsControlInGlyphsOfItsFont) {
  auto driver = tktest::MakeDriver();
  const tk::FormSpec mainSpec = app::MainFormSpec(app::EnglishTexts());
  const tk::FormSpec aboutSpec = about::AboutFormSpec(app::EnglishTexts().about);
  tk::Form main(driver->App(), mainSpec);
  driver->Show(main);
  main.Get<tk::TextBox>("txtTest").SetText(std::u16string(app::EnglishTexts().sampleHint));
  tk::Form about(driver->App(), aboutSpec);
  driver->Show(about);
  NONCLIENTMETRICSA metrics{};  // in the size every version takes
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
  const std::u16string messageFace = common::win32::FromAnsi(metrics.lfMessageFont.lfFaceName);
  for (const int dpi : {96, 144}) {
    for (const tk::Form* form : {&main, &about}) {
      ChangeDpi(WindowOf(*form), dpi);
      for (const auto& control : form->Controls()) {
        const HWND window = WindowOf(*control);
        const bool field = control->Spec().kind == tk::ControlKind::kTextBox;
        if (!window || (field && !control->Spec().multiLine)) continue;
        const std::u16string text = tk::win32::WindowText(window);
        const std::u16string caption = tk::CaptionWithoutAccessMark(text);
        if (caption.empty()) continue;
        SCOPED_TRACE(std::string(control->Name()) + std::to_string(control->Spec().index) + " at " +
                     std::to_string(dpi));
        RECT client{}, needed{};
        GetClientRect(window, &client);
        needed = client;
        tk::win32::WindowDc dc(window);
        tk::win32::Selected font(dc.Get(),
                                 reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
        std::vector<WORD> glyphs(caption.size());
        GetGlyphIndicesW(dc.Get(), reinterpret_cast<const wchar_t*>(caption.c_str()),
                         static_cast<int>(caption.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc.Get(), LF_FACESIZE, face);
        EXPECT_EQ(
            tk::win32::FromWide(face, std::wcslen(face)),
            control->Spec().font && !control->Spec().font->face.empty() ? u"Marlett" : messageFace)
            << "the system's user-interface font where the texts name none";
        const auto px = [dpi](int pixelsAt96) { return MulDiv(pixelsAt96, dpi, 96); };
        switch (control->Spec().kind) {
          case tk::ControlKind::kTextBox:  // the hint, wrapped at the box's width; an edit
                                           // control shows whole lines only
            DrawTextW(dc.Get(), reinterpret_cast<const wchar_t*>(text.c_str()), -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
            EXPECT_LE(needed.bottom, client.bottom);
            break;
          case tk::ControlKind::kLabel: {
            RECT label{};
            GetWindowRect(window, &label);
            const HWND next = GetWindow(window, GW_HWNDNEXT);
            RECT field{};
            if (control->Spec().autoSize && next && GetParent(next) == GetParent(window) &&
                control->Name() != "lblTitle") {
              GetWindowRect(next, &field);
              if (field.top < label.bottom && field.bottom > label.top) {
                EXPECT_LE(label.right, field.left);
              }
            }
            break;
          }
          default: {  // a button, an option, a frame
            DrawTextW(dc.Get(), reinterpret_cast<const wchar_t*>(text.c_str()), -1, &needed,
                      DT_CALCRECT | DT_SINGLELINE);
            const int frame = control->Spec().kind == tk::ControlKind::kOptionButton
                                  ? px(13 + 4)  // the round box and the gap after it
                                  : px(2 * 4);  // the edges and the focus rectangle
            EXPECT_LE(needed.right - needed.left + frame, client.right);
            EXPECT_LE(needed.bottom - needed.top, client.bottom);
          }
        }
      }
    }
  }
}

TEST(Win32AboutForm, TheMainWindowRepaintsWhileTheBoxIsUp) {
  auto driver = tktest::MakeDriver();
  tk::FormSpec mainSpec = app::MainFormSpec(app::JapaneseTexts());
  tk::Form main(driver->App(), mainSpec);
  driver->Show(main);
  const HWND window = WindowOf(main);
  bool painted = false;
  driver->WhenNextModalShown([&](tk::Form& box) {
    InvalidateRect(window, nullptr, TRUE);
    driver->Settle();
    painted = !GetUpdateRect(window, nullptr, FALSE);
    driver->CloseBox(box);
  });
  const tk::FormSpec aboutSpec = about::AboutFormSpec(app::JapaneseTexts().about);
  tk::Form about(driver->App(), aboutSpec);
  about.ShowModal();
  EXPECT_TRUE(painted);
}

}  // namespace
