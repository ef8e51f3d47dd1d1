#pragma once
// A window of the program: its controls and menus built from a FormSpec, its Load / Activate /
// QueryUnload events, and modal showing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/backend.h"
#include "toolkit/controls.h"
#include "toolkit/design.h"

namespace tk {

class Application;

// A control or menu item that the form's design does not hold was asked for: a program fault.
class DesignError : public std::exception {
 public:
  explicit DesignError(std::string what) : what_(std::move(what)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// Reasons passed to QueryUnload.
constexpr std::int16_t kUnloadByCloseBox = 0;  // close box or system menu
constexpr std::int16_t kUnloadByCode = 1;
constexpr std::int16_t kUnloadBySessionEnd = 2;
constexpr std::int16_t kUnloadByTaskManager = 3;

class Form {
 public:
  Form(Application& app, const FormSpec& spec);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormSpec& Spec() const { return spec_; }
  Application& App() const { return app_; }

  Control& Find(std::string_view name, int index = -1) const;
  template <class T>
  T& Get(std::string_view name, int index = -1) const {
    return dynamic_cast<T&>(Find(name, index));
  }
  // Members 0 to N - 1 of a control array.
  template <class T, std::size_t N>
  std::array<T*, N> GetArray(std::string_view name) const {
    std::array<T*, N> members{};
    for (std::size_t i = 0; i < N; ++i) members[i] = &Get<T>(name, static_cast<int>(i));
    return members;
  }
  MenuItem& Menu(std::string_view name) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  const std::vector<std::unique_ptr<MenuItem>>& Menus() const { return menus_; }

  std::function<void()> Load;
  std::function<void()> Activate;
  std::function<void(std::int16_t& cancel, std::int16_t unloadMode)> QueryUnload;
  // A file dragged from the shell and dropped on the form (the first, when there are several).
  // Only a form with a handler when its window is created takes drops.
  std::function<void(const std::u16string& path)> FileDropped;

  // Creates the window and its controls (hidden), then raises Load. Runs once.
  void LoadForm();
  void Show();
  // Shows the form with every other form of the program disabled; returns once it has unloaded.
  void ShowModal();
  // Unloads from code. Returns false when QueryUnload refused.
  bool Unload();
  bool IsLoaded() const { return state_ == State::kLoaded; }
  bool IsUnloaded() const { return state_ == State::kUnloaded; }
  bool IsModal() const { return modal_; }

  int Left() const;  // outer window, screen twips
  int Top() const;
  void Move(int left, int top);
  // Puts the outer corner `left`, `top` twips (at this form's own scale) from `anchor`'s, so that
  // forms on screens of different DPIs still stand that far apart.
  void MoveFrom(const Form& anchor, int left, int top);

  Control* Focused() const { return focused_; }
  FormPeer* Peer() const { return peer_.get(); }

  // Called by the backend.
  void OnActivated();
  // The user or the system asks the form to close. While a box of the program is up over it, the
  // close waits until the box has closed and the handler that showed it has returned.
  void OnCloseRequest(std::int16_t unloadMode);
  // Not taken while a box of the program is up over the form.
  void OnFileDropped(const std::u16string& path);
  // Called by Application: no box of the program stands over the form any more.
  void OnBoxesClosed();
  void OnControlFocus(Control& control, bool gained);
  void OnOptionSelected(OptionButton& option);  // keeps the options of one container exclusive

 private:
  enum class State { kNew, kLoaded, kUnloaded };
  bool RequestUnload(std::int16_t unloadMode);
  void Destroy();

  Application& app_;
  const FormSpec& spec_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<MenuItem>> menus_;
  std::unique_ptr<FormPeer> peer_;
  State state_ = State::kNew;
  bool modal_ = false;
  Control* focused_ = nullptr;
  static constexpr std::int16_t kNoCloseWaiting = -1;
  std::int16_t closeWaiting_ = kNoCloseWaiting;  // the reason of a close that waits for a box
};

// The program: one backend, its forms, and which of them was last active.
class Application {
 public:
  explicit Application(Backend& backend) : backend_(backend) {}

  Backend& GetBackend() const { return backend_; }
  int MsgBox(const std::u16string& text, int style, const std::u16string& title);
  DialogResult ShowFileDialog(FileDialogRequest& request);
  void Beep();
  // Whether a message box, a file dialog or a modal form of the program stands over `form`.
  bool HasBoxOver(const Form& form) const;
  // Asks the topmost modal form over `form` to close, unless a box is up over it.
  void CloseModalFormsOver(const Form& form, std::int16_t unloadMode);

  // Shows `main` and handles events until it has unloaded.
  void Run(Form& main);

  // The program's own last active form; message boxes and dialogs never count.
  Form* ActiveForm() const { return active_; }

  // Called by Form.
  void OnFormActivated(Form& form);
  void OnFormLoaded(Form& form);
  void OnModalShown(Form& form);
  void OnFormDestroying(Form& form);

 private:
  template <class Show>
  auto ShowBox(Show show);
  void PassWaitingCloses();

  Backend& backend_;
  int boxesUp_ = 0;  // message boxes and file dialogs
  std::vector<Form*> forms_;
  std::vector<std::vector<Form*>> disabledByModal_;
  std::vector<Form*> modalStack_;
  Form* active_ = nullptr;
};

// Thrown by Show and ShowModal where Windows refuses to make the form's window or one of its
// controls' (its resources exhausted, say): the form stays unloaded, and nothing of it is left.
struct WindowNotCreated {};

// Message box styles and answers.
constexpr int kMbOk = 0;
constexpr int kMbYesNo = 4;
constexpr int kMbExclamation = 48;
constexpr int kMbInformation = 64;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

}  // namespace tk
