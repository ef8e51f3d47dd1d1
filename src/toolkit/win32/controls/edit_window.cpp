#include "toolkit/win32/controls/edit_window.h"

#include "toolkit/win32/form_window.h"
#include "toolkit/win32/windows_calls.h"

namespace tk::win32 {

EditWindow::EditWindow(FormWindow& form, TextBox& box, HWND parent, UINT id)
    : ControlWindow(form, box, parent, id, Design(form, box)), box_(box) {
  if (box.Spec().maxLength > 0) {
    WideOrAnsi().Send(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(box.Spec().maxLength), 0);
  }
  SetColors(box.ForeColor(), box.BackColor());
}

WindowDesign EditWindow::Design(const FormWindow& form, const TextBox& box) {
  DWORD style = WS_TABSTOP | ES_LEFT;
  // Without a default button Enter starts a new line in a multi-line field.
  style |= box.Spec().multiLine
               ? ES_MULTILINE | ES_AUTOVSCROLL | (form.HasDefaultButton() ? 0 : ES_WANTRETURN)
               : ES_AUTOHSCROLL;
  return {.className = "EDIT", .style = style, .exStyle = WS_EX_CLIENTEDGE, .text = box.Text()};
}

void EditWindow::SetText(const std::u16string& text) {
  // The native EN_CHANGE of a code set is not the user's edit: TextBox has raised Change already.
  settingText_ = true;
  ControlWindow::SetText(text);
  settingText_ = false;
  if (Handle()) WideOrAnsi().Send(Handle(), EM_SETSEL, 0, 0);
}

int EditWindow::SelStart() const { return Handle() ? WideOrAnsi().SelectionStart(Handle()) : 0; }

void EditWindow::SetSelStart(int position) {
  if (!Handle()) return;
  WideOrAnsi().Select(Handle(), position, position);
  WideOrAnsi().Send(Handle(), EM_SCROLLCARET, 0, 0);
}

void EditWindow::OnCommand(UINT code) {
  if (code == EN_CHANGE && !settingText_ && Reporting())
    box_.OnUserEdit(WideOrAnsi().Text(Handle()));
}

LRESULT EditWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Keys with Alt held come as system keys; a field hears them like the others.
      if (Reporting()) {
        box_.OnKeyDown(static_cast<std::int16_t>(wParam), KeyboardShiftState());
        if (!Handle()) return 0;
      }
      break;
    case WM_GETDLGCODE:
      return AdjustDialogCode(CallNext(message, wParam, lParam), lParam);
    default:
      break;
  }
  return CallNext(message, wParam, lParam);
}

LRESULT EditWindow::AdjustDialogCode(LRESULT code, LPARAM lParam) const {
  if (!box_.Spec().multiLine || !lParam) return code;
  // A multi-line edit wants every key; Tab and Esc (and Enter, when there is a default button)
  // stay with the dialog, as in a single-line field.
  const MSG& key = *reinterpret_cast<const MSG*>(lParam);
  if (key.message == WM_KEYDOWN && (key.wParam == VK_TAB || key.wParam == VK_ESCAPE ||
                                    (key.wParam == VK_RETURN && form_.HasDefaultButton()))) {
    code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  return code;
}

}  // namespace tk::win32
