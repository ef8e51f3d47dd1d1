#include "toolkit/headless/headless_form_peer.h"

#include <algorithm>
#include <vector>

#include "toolkit/headless/headless_backend.h"

namespace tk::headless {

HeadlessFormPeer::HeadlessFormPeer(HeadlessBackend& backend, Form& form)
    : backend_(backend), form_(form) {}

HeadlessFormPeer::~HeadlessFormPeer() { backend_.Forget(*this); }

void HeadlessFormPeer::Show() {
  if (destroyed_) return;
  visible_ = true;
  backend_.OnShown(*this);
}

void HeadlessFormPeer::SetEnabled(bool enabled) { enabled_ = enabled; }

void HeadlessFormPeer::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  visible_ = false;
  focus_ = nullptr;
  backend_.OnDestroyed(*this);
}

void HeadlessFormPeer::Move(int left, int top) {
  left_ = left;
  top_ = top;
}

// One scale for every form: there is no screen whose DPI could differ.
void HeadlessFormPeer::MoveFrom(const tk::FormPeer& anchor, int left, int top) {
  Move(anchor.Left() + left, anchor.Top() + top);
}

void HeadlessFormPeer::PostCloseRequest(std::int16_t unloadMode) {
  backend_.Post([this, &backend = backend_, unloadMode] {
    if (backend.Holds(*this)) form_.OnCloseRequest(unloadMode);
  });
}

void HeadlessFormPeer::MoveFocus(HeadlessControlPeer* to, bool byKeyboard) {
  if (!to || !to->Enabled()) return;
  if (byKeyboard && to->IsTextBox()) to->SelectAll();
  if (to == focus_) return;
  HeadlessControlPeer* from = focus_;
  // As in Win32, the focus has moved before the losing control hears of it; a handler that moves
  // it on again wins, and the control first aimed at then hears nothing.
  focus_ = to;
  if (from) from->Owner().OnFocusChanged(false);
  if (focus_ != to) return;
  to->Owner().OnFocusChanged(true);
}

void HeadlessFormPeer::DropFocus(HeadlessControlPeer& from) {
  if (focus_ != &from) return;
  focus_ = nullptr;
  from.Owner().OnFocusChanged(false);
}

HeadlessControlPeer* HeadlessFormPeer::NextTabStop(const Control* from, bool forwards) const {
  std::vector<Control*> stops;
  for (const auto& control : form_.Controls()) {
    if (control->Spec().tabIndex >= 0 && control->CanTakeFocus() && control->Peer()) {
      stops.push_back(control.get());
    }
  }
  if (stops.empty()) return nullptr;
  std::ranges::sort(stops, {}, [](const Control* c) { return c->Spec().tabIndex; });
  const int position = from ? from->Spec().tabIndex : -1;
  Control* next = nullptr;
  if (forwards) {
    auto after =
        std::ranges::find_if(stops, [&](Control* c) { return c->Spec().tabIndex > position; });
    next = (from && after != stops.end()) ? *after : stops.front();
  } else {
    auto before = std::ranges::find_if(stops.rbegin(), stops.rend(),
                                       [&](Control* c) { return c->Spec().tabIndex < position; });
    next = (from && before != stops.rend()) ? *before : stops.back();
  }
  return HeadlessBackend::PeerOf(*next);
}

bool HeadlessFormPeer::ActivateAccessKey(char16_t key) {
  std::vector<Control*> candidates;
  for (const auto& control : form_.Controls()) candidates.push_back(control.get());
  std::ranges::stable_sort(candidates, {}, [](const Control* c) { return c->Spec().tabIndex; });
  for (Control* control : candidates) {
    HeadlessControlPeer* peer = HeadlessBackend::PeerOf(*control);
    if (!peer || !peer->Enabled() || AccessKey(peer->Text()) != key) continue;
    switch (control->Spec().kind) {
      case ControlKind::kLabel:
      case ControlKind::kFrame:
        MoveFocus(NextTabStop(control, true), true);
        return true;
      case ControlKind::kCommandButton:
      case ControlKind::kOptionButton:
        backend_.KeyboardClick(*control);
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace tk::headless
