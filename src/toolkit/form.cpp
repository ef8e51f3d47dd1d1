#include "toolkit/form.h"

#include <algorithm>
#include <string>
#include <utility>

#include "common/scope_exit.h"

namespace tk {

namespace {
std::unique_ptr<Control> MakeControl(Form& form, const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::kTextBox:
      return std::make_unique<TextBox>(form, spec);
    case ControlKind::kCommandButton:
      return std::make_unique<CommandButton>(form, spec);
    case ControlKind::kOptionButton:
      return std::make_unique<OptionButton>(form, spec);
    case ControlKind::kFrame:
      return std::make_unique<Frame>(form, spec);
    case ControlKind::kLabel:
      return std::make_unique<Label>(form, spec);
    case ControlKind::kLine:
      return std::make_unique<Line>(form, spec);
    case ControlKind::kPictureBox:
      return std::make_unique<PictureBox>(form, spec);
  }
  return nullptr;
}
}  // namespace

Form::Form(Application& app, const FormSpec& spec) : app_(app), spec_(spec) {
  for (const ControlSpec& control : spec.controls) controls_.push_back(MakeControl(*this, control));
  for (const MenuSpec& menu : spec.menus) menus_.push_back(std::make_unique<MenuItem>(menu));
}

Form::~Form() {
  if (state_ == State::kLoaded) Destroy();
}

Control& Form::Find(std::string_view name, int index) const {
  for (const auto& control : controls_) {
    if (control->Name() == name && control->Spec().index == index) return *control;
  }
  throw DesignError("no control " + std::string(name) + "(" + std::to_string(index) + ")");
}

MenuItem& Form::Menu(std::string_view name) const {
  for (const auto& menu : menus_) {
    if (menu->Name() == name) return *menu;
  }
  throw DesignError("no menu item " + std::string(name));
}

void Form::LoadForm() {
  if (state_ != State::kNew) return;
  peer_ = app_.GetBackend().CreateForm(*this);
  if (!peer_) throw WindowNotCreated();
  state_ = State::kLoaded;
  app_.OnFormLoaded(*this);
  if (Load) Load();
}

void Form::Show() {
  LoadForm();
  if (IsLoaded()) peer_->Show();
}

void Form::ShowModal() {
  LoadForm();
  if (!IsLoaded()) return;
  modal_ = true;
  app_.OnModalShown(*this);
  peer_->Show();
  app_.GetBackend().RunUntil([this] { return !IsLoaded(); });
}

bool Form::Unload() { return RequestUnload(kUnloadByCode); }

void Form::OnCloseRequest(std::int16_t unloadMode) {
  // Taking the window from under the box would let its handler run on over an unloaded form.
  if (app_.HasBoxOver(*this)) {
    closeWaiting_ = unloadMode;
    // Another program or the session's end asking: a modal form over this one goes first, and
    // this one follows once it is gone. A message box or a file dialog waits for its answer.
    if (unloadMode != kUnloadByCloseBox) app_.CloseModalFormsOver(*this, unloadMode);
    return;
  }
  RequestUnload(unloadMode);
}

void Form::OnBoxesClosed() {
  if (closeWaiting_ != kNoCloseWaiting && IsLoaded()) {
    peer_->PostCloseRequest(std::exchange(closeWaiting_, kNoCloseWaiting));
  }
}

void Form::OnFileDropped(const std::u16string& path) {
  if (IsLoaded() && FileDropped && !app_.HasBoxOver(*this)) FileDropped(path);
}

bool Form::RequestUnload(std::int16_t unloadMode) {
  if (state_ != State::kLoaded) return state_ == State::kUnloaded;
  std::int16_t cancel = 0;
  if (QueryUnload) QueryUnload(cancel, unloadMode);
  // The handler may have unloaded the form itself, through a nested request.
  if (state_ != State::kLoaded) return true;
  if (cancel != 0) return false;
  Destroy();
  return true;
}

void Form::Destroy() {
  app_.OnFormDestroying(*this);
  state_ = State::kUnloaded;
  focused_ = nullptr;
  if (peer_) peer_->Destroy();
}

int Form::Left() const { return peer_ ? peer_->Left() : 0; }
int Form::Top() const { return peer_ ? peer_->Top() : 0; }
void Form::Move(int left, int top) {
  if (peer_) peer_->Move(left, top);
}
void Form::MoveFrom(const Form& anchor, int left, int top) {
  if (peer_ && anchor.peer_) peer_->MoveFrom(*anchor.peer_, left, top);
}

void Form::OnActivated() {
  if (IsLoaded()) app_.OnFormActivated(*this);
}

void Form::OnControlFocus(Control& control, bool gained) {
  if (gained) {
    focused_ = &control;
  } else if (focused_ == &control) {
    focused_ = nullptr;
  }
}

void Form::OnOptionSelected(OptionButton& option) {
  for (const auto& control : controls_) {
    auto* other = dynamic_cast<OptionButton*>(control.get());
    if (other && other != &option && other->Spec().container == option.Spec().container) {
      other->SetValue(false);
    }
  }
}

template <class Show>
auto Application::ShowBox(Show show) {
  ++boxesUp_;
  common::ScopeExit closed([this] {
    --boxesUp_;
    PassWaitingCloses();
  });
  return show();
}

int Application::MsgBox(const std::u16string& text, int style, const std::u16string& title) {
  return ShowBox([&] { return backend_.MessageBox(text, style, title); });
}

DialogResult Application::ShowFileDialog(FileDialogRequest& request) {
  return ShowBox([&] { return backend_.ShowFileDialog(request); });
}

bool Application::HasBoxOver(const Form& form) const {
  return boxesUp_ > 0 || (!modalStack_.empty() && modalStack_.back() != &form);
}

void Application::CloseModalFormsOver(const Form& form, std::int16_t unloadMode) {
  if (boxesUp_ == 0 && !modalStack_.empty() && modalStack_.back() != &form) {
    modalStack_.back()->OnCloseRequest(unloadMode);
  }
}

void Application::PassWaitingCloses() {
  for (Form* form : forms_) {
    if (!HasBoxOver(*form)) form->OnBoxesClosed();
  }
}

void Application::Beep() { backend_.Beep(); }

void Application::Run(Form& main) {
  main.Show();
  backend_.RunUntil([&main] { return !main.IsLoaded(); });
}

void Application::OnFormActivated(Form& form) {
  if (active_ == &form) return;
  active_ = &form;
  if (form.Activate) form.Activate();
}

void Application::OnFormLoaded(Form& form) { forms_.push_back(&form); }

void Application::OnModalShown(Form& form) {
  std::vector<Form*> disabled;
  for (Form* other : forms_) {
    if (other != &form && other->IsLoaded() && other->Peer()) {
      other->Peer()->SetEnabled(false);
      disabled.push_back(other);
    }
  }
  modalStack_.push_back(&form);
  disabledByModal_.push_back(std::move(disabled));
}

void Application::OnFormDestroying(Form& form) {
  // The owner is enabled again before the modal window goes, so that it takes the activation.
  if (!modalStack_.empty() && modalStack_.back() == &form) {
    for (Form* other : disabledByModal_.back()) {
      if (other->IsLoaded() && other->Peer()) other->Peer()->SetEnabled(true);
    }
    modalStack_.pop_back();
    disabledByModal_.pop_back();
  }
  std::erase(forms_, &form);
  if (active_ == &form) active_ = nullptr;
  PassWaitingCloses();
}

}  // namespace tk
