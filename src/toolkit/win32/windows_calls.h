#pragma once
// The Windows functions whose W and A forms differ, with text as the program's UTF-16. Windows 95,
// 98 and ME implement almost none of the W functions, so there the 32-bit program goes through the
// A functions and the system's ANSI code page; everywhere else through the W functions. The road
// is chosen once, in WideOrAnsi(); a window is all one road: its class, procedure, subclass and
// messages. What goes through here: every call that passes or returns text, and every call on a
// window's procedure, long values or messages, which Windows converts by the road the window was
// made on. What stays direct: calls without text (ShowWindow, SetWindowPos, GetDlgCtrlID, ...)
// and the A functions every system has whose text is ours and ASCII (SetPropA, a separator's
// AppendMenuA).

#include <string>

#include "common/win32/windows_version.h"
#include "toolkit/win32/windows_api.h"

namespace tk::win32 {

// What a file dialog is asked and answers; the filter holds its entries separated by NULs.
struct FileChoice {
  bool save = false;
  HWND owner = nullptr;
  std::u16string filter{}, initialFolder{}, title{}, defaultExtension{};
  std::u16string fileName{};  // in: the name offered; out: the chosen path
  DWORD flags = 0;
};

class WindowsCalls {
 public:
  virtual ~WindowsCalls() = default;

  // Windows and their procedures.
  virtual ATOM RegisterFormClass(WNDPROC procedure, int windowExtra, HBRUSH background, HICON icon,
                                 HICON smallIcon, const char* name) const = 0;
  // `className` is a system class name or a MAKEINTATOM.
  virtual HWND NewWindow(DWORD exStyle, const char* className, const std::u16string& text,
                         DWORD style, int x, int y, int width, int height, HWND parent,
                         HMENU menuOrId, void* param) const = 0;
  virtual LRESULT DialogDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const = 0;
  virtual LRESULT WindowDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const = 0;
  virtual LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) const = 0;
  virtual LONG_PTR Long(HWND window, int index) const = 0;
  virtual LONG_PTR SetLong(HWND window, int index, LONG_PTR value) const = 0;
  virtual ULONG_PTR ClassAtom(HWND window) const = 0;
  virtual LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const = 0;
  virtual BOOL Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const = 0;
  virtual std::u16string Text(HWND window) const = 0;
  virtual void SetText(HWND window, const std::u16string& text) const = 0;
  // An edit control's selection, in UTF-16 positions.
  virtual int SelectionStart(HWND edit) const = 0;
  virtual void Select(HWND edit, int start, int end) const = 0;

  // The message loop.
  virtual BOOL NextMessage(MSG& message) const = 0;
  virtual BOOL Accelerate(HWND window, HACCEL table, MSG& message) const = 0;
  virtual BOOL DialogKey(HWND dialog, MSG& message) const = 0;
  virtual LRESULT Dispatch(const MSG& message) const = 0;

  // Menus, fonts and text.
  virtual HACCEL NewAcceleratorTable(ACCEL* entries, int count) const = 0;
  virtual BOOL AppendMenuItem(HMENU menu, UINT flags, UINT_PTR id,
                              const std::u16string& text) const = 0;
  // The system's message font as its size and face; false where the system gives none.
  virtual bool MessageFont(LOGFONTW& font) const = 0;
  virtual HFONT NewFont(const LOGFONTW& font) const = 0;
  virtual bool FaceExists(const std::u16string& face) const = 0;
  // Whether every character of `text` crosses the road and comes back the same: always where text
  // crosses as UTF-16.
  virtual bool CodePageHolds(const std::u16string& text) const = 0;
  // DrawText's DT_CALCRECT: the rectangle `text` takes in the DC's font.
  virtual RECT MeasureText(HDC dc, const std::u16string& text, UINT format) const = 0;

  // The program, its dialogs and the shell.
  virtual std::u16string ProgramPath() const = 0;
  // False when the dialog was cancelled or failed; `error` tells which (0: cancelled).
  virtual bool ChooseFile(FileChoice& choice, DWORD& error) const = 0;
  // The first file of a drop; the drop is released.
  virtual std::u16string TakeDroppedFile(HDROP drop) const = 0;
};

// The road of this system.
const WindowsCalls& WideOrAnsi();

inline std::u16string WindowText(HWND window) { return WideOrAnsi().Text(window); }

}  // namespace tk::win32
