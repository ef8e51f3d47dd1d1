#pragma once
// One form as a dialog-class top-level window holding its controls' windows: its life and its
// messages here, what its design puts into it in form_contents.cpp, its size, fonts and icons at
// its DPI in form_layout.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/win32/controls/control_window.h"
#include "toolkit/win32/controls/line_shape.h"
#include "toolkit/win32/controls/option_button_window.h"
#include "toolkit/win32/controls/push_button_window.h"
#include "toolkit/win32/form_fonts.h"
#include "toolkit/win32/handles.h"
#include "toolkit/win32/menu_bar.h"
#include "toolkit/win32/program_icon.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

class Win32Backend;

class FormWindow final : public FormPeer {
 public:
  FormWindow(Win32Backend& backend, Form& form);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  // Makes the window and every control's; false where Windows refused one of them.
  bool Build();

  void Show() override;
  void SetEnabled(bool enabled) override;
  void Destroy() override;
  int Left() const override;
  int Top() const override;
  void Move(int left, int top) override;
  void MoveFrom(const FormPeer& anchor, int left, int top) override;
  void PostCloseRequest(std::int16_t unloadMode) override;

  static FormWindow* FromHandle(HWND window);
  HWND Handle() const { return window_; }
  Form& Owner() const { return form_; }
  Win32Backend& Backend() const { return backend_; }
  // The DPI the window is laid out for: its screen's, as Windows last reported it.
  int Dpi() const { return dpi_; }
  HACCEL Accelerators() const { return menu_.Accelerators(); }
  // Whether native notifications still reach the portable form (not while it is being destroyed).
  bool Reporting() const { return window_ != nullptr && !destroying_; }
  bool HasDefaultButton() const;
  // The window of one of this form's controls, found through the form's table; null for none.
  ControlWindow* ControlFor(HWND window) const;
  ControlWindow* WindowOf(const Control& control) const;

  // Called by the control windows.
  HFONT FontFor(const ControlSpec& spec) { return fonts_.For(spec); }
  void DrawLines(HDC dc, std::string_view container) const;

 private:
  class ControlMaker;

  static ATOM WindowClass();
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // False where Windows refused the window or its menu bar.
  bool CreateWindowFor(HWND owner);
  // Everything of the window that follows its DPI: fonts, icons, the client size and every
  // control placed from the design. Run when it is created, at each change of DPI and when the
  // system's text size changes.
  void LayOut(int dpi);
  void SizeClientToDesign();
  // The outer size that holds the design's client area at `dpi`.
  SIZE OuterSizeAt(int dpi) const;
  void ShowIcons();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void CreateControls(std::string_view container, HWND parent);
  OptionGroup& OptionGroupOf(std::string_view container);
  ControlWindow* ControlById(UINT id) const;
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnDropFiles(WPARAM drop);
  void OnSchemeChanged(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void FocusFirstTabStop();

  Win32Backend& backend_;
  Form& form_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  bool destroying_ = false;
  bool complete_ = true;  // no control's window refused
  bool closeFromSystemMenu_ = false;
  WindowIcons icons_;
  bool iconsOfItsOwn_ = false;  // else the class's, at the system's DPI
  FormFonts fonts_;
  MenuBar menu_{form_};
  std::vector<ControlWindow*> controls_;  // by control index; null for lines
  std::vector<std::pair<std::string_view, std::unique_ptr<OptionGroup>>> optionGroups_;
  std::vector<LineShape> lines_;  // back to front
  PushButtonWindow* defaultButton_ = nullptr;
  PushButtonWindow* cancelButton_ = nullptr;
};

}  // namespace tk::win32
