#include "toolkit/headless/headless_backend.h"

#include <algorithm>

namespace tk::headless {

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<tk::FormPeer> HeadlessBackend::CreateForm(Form& form) {
  if (formsToRefuse > 0) {
    --formsToRefuse;
    return nullptr;
  }
  auto peer = std::make_unique<HeadlessFormPeer>(*this, form);
  forms_.insert(forms_.begin(), peer.get());
  for (const auto& control : form.Controls()) {
    control->AttachPeer(std::make_unique<HeadlessControlPeer>(*peer, *control));
  }
  return peer;
}

void HeadlessBackend::RunUntil(const std::function<bool()>& done) {
  while (!done() && !posted_.empty()) {
    std::function<void()> work = std::move(posted_.front());
    posted_.pop_front();
    work();
  }
}

int HeadlessBackend::FirstButton(int style) {
  switch (style & 0xF) {
    case 2:  // Abort, Retry, Ignore
      return 3;
    case 3:  // Yes, No, Cancel
    case 4:  // Yes, No
      return 6;
    case 5:  // Retry, Cancel
      return 4;
    default:  // OK, OK and Cancel
      return 1;
  }
}

int HeadlessBackend::MessageBox(const std::u16string& text, int style,
                                const std::u16string& title) {
  openedMenu_ = nullptr;
  const int answer = onMessageBox ? onMessageBox(text, style, title) : FirstButton(style);
  ReactivateAfterDialog();
  return answer;
}

bool HeadlessBackend::CanShow(std::u16string_view text, const FontSpec&) {
  if (!asciiOnly) return true;
  for (char16_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

void HeadlessBackend::Beep() {
  if (onBeep) onBeep();
}

DialogResult HeadlessBackend::ShowFileDialog(FileDialogRequest& request) {
  openedMenu_ = nullptr;
  const DialogResult result = onFileDialog ? onFileDialog(request) : DialogResult::kCancelled;
  // As Windows' dialogs do: a name chosen without an extension gets the default one.
  std::u16string& name = request.fileName;
  const std::size_t nameStart = name.find_last_of(u"\\/:") + 1;
  if (result == DialogResult::kOk && !request.defaultExt.empty() &&
      name.find(u'.', nameStart) == std::u16string::npos) {
    name += (request.defaultExt.front() == u'.' ? u"" : u".") + request.defaultExt;
  }
  ReactivateAfterDialog();
  return result;
}

// Windows sends the owner WM_ACTIVATE again when a message box or a file dialog closes; the
// toolkit has to tell that apart from a real change of its own active form.
void HeadlessBackend::ReactivateAfterDialog() {
  if (active_) active_->Owner().OnActivated();
}

bool HeadlessBackend::Holds(const HeadlessFormPeer& peer) const {
  return std::ranges::find(forms_, &peer) != forms_.end();
}

HeadlessFormPeer* HeadlessBackend::PeerOf(const Form& form) {
  return static_cast<HeadlessFormPeer*>(form.Peer());
}

HeadlessControlPeer* HeadlessBackend::PeerOf(const Control& control) {
  return static_cast<HeadlessControlPeer*>(control.Peer());
}

void HeadlessBackend::Activate(HeadlessFormPeer& peer) {
  if (active_ == &peer || peer.Destroyed()) return;
  openedMenu_ = nullptr;
  active_ = &peer;
  std::erase(forms_, &peer);
  forms_.push_back(&peer);
  peer.Owner().OnActivated();
}

void HeadlessBackend::OnShown(HeadlessFormPeer& peer) {
  Activate(peer);
  if (peer.Destroyed()) return;
  // An Activate handler that placed the focus itself keeps it.
  if (!peer.Focus()) peer.MoveFocus(peer.NextTabStop(nullptr, true), true);
  if (peer.Owner().IsModal()) {
    Post([this, &peer] {
      if (Holds(peer) && onModalShown) {
        onModalShown(peer.Owner());
      }
    });
  }
}

void HeadlessBackend::OnDestroyed(HeadlessFormPeer& peer) {
  std::erase(forms_, &peer);
  if (active_ != &peer) return;
  active_ = nullptr;
  // Windows hands the activation to the window that had it before: the owner of a modal form.
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Enabled()) {
      Activate(**it);
      return;
    }
  }
}

void HeadlessBackend::Forget(HeadlessFormPeer& peer) {
  std::erase(forms_, &peer);
  if (active_ == &peer) active_ = nullptr;
}

}  // namespace tk::headless
