#include "app/frm_main.h"

#include "app/main_layout.h"

namespace app {

namespace {

// The numeric value of a channel field's design text, as a 16-bit integer.
std::int16_t LeadingNumber(const std::u16string& text) {
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
    if (value > 32767) return 32767;
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

FrmMain::FrmMain(tk::Application& app, store::Registry& registry, files::FileAccess& fileAccess,
                 const Texts& texts, ShowAboutFunction showAbout)
    : app_(app),
      texts_(texts),
      spec_(MainFormSpec(texts)),
      form_(app, spec_),
      txtID_(form_.Get<tk::TextBox>("txtID")),
      txtTest_(form_.Get<tk::TextBox>("txtTest")),
      txtColor_(form_.GetArray<tk::TextBox, 3>("txtColor")),
      commonDialog1_(app, u"Tintmark", std::u16string(texts.fileFilter), u".reg"),
      channels_(form_, state_, texts),
      owner_(form_, state_, registry, channels_, texts),
      files_(form_, state_, commonDialog1_, fileAccess, channels_, owner_, texts),
      showAbout_(std::move(showAbout)) {
  form_.Load = [this] { Form_Load(); };
  form_.Activate = [this] { Form_Activate(); };
  form_.QueryUnload = [this](std::int16_t& cancel, std::int16_t mode) {
    Form_QueryUnload(cancel, mode);
  };
  form_.Get<tk::CommandButton>("btnAccept").Click = [this] { btnAccept_Click(); };
  form_.Get<tk::CommandButton>("btnQuit").Click = [this] { btnQuit_Click(); };
  form_.Get<tk::CommandButton>("btnReset").Click = [this] { btnReset_Click(); };
  form_.Menu("mnuAccept").Click = [this] { mnuAccept_Click(); };
  form_.Menu("mnuEnd").Click = [this] { mnuEnd_Click(); };
  form_.Menu("mnuQuit").Click = [this] { mnuQuit_Click(); };
  form_.Menu("mnuHelp").Click = [this] { mnuHelp_Click(); };
}

void FrmMain::Form_Load() {
  commonDialog1_.CancelError = true;
  commonDialog1_.FileName = app_.GetBackend().ProgramFolder() + u"\\*.reg";

  const store::Status chainStatus = owner_.OpenKeyChain();
  state_.blnStartup = true;
  owner_.ReadLastOwner(chainStatus);

  // The rest of the state starts as WindowState declares it, and the design already selects
  // decimal and paints the sample black on white: what the table is once the back colour is read.
  txtTest_.SetText(std::u16string(texts_.sampleHint));
  for (int channel = editor::kRed; channel <= editor::kBlue; ++channel) {
    state_.intColor[editor::kBack][channel] = LeadingNumber(txtColor_[channel]->Text());
  }
}

void FrmMain::Form_Activate() {
  if (txtID_.Text().empty()) {
    MsgBox(app_, texts_.idRequest, tk::kMbOk | tk::kMbInformation);
    txtID_.SetEnabled(true);
    txtID_.SetFocus();
  } else if (state_.blnStartup) {
    owner_.LoadColors();
  }
  state_.blnStartup = false;
  files_.OpenStartFile();
}

void FrmMain::Form_QueryUnload(std::int16_t& cancel, std::int16_t unloadMode) {
  if (unloadMode == tk::kUnloadByCloseBox) {
    btnQuit_Click();
    // Still here: the apply that quitting asked for failed, and its edits must not be lost.
    if (form_.IsLoaded()) cancel = -1;
    return;
  }
  owner_.CloseKeyChain();
}

void FrmMain::btnAccept_Click() { owner_.ApplyColors(); }

void FrmMain::mnuAccept_Click() { owner_.ApplyColors(); }

void FrmMain::mnuEnd_Click() {
  if (owner_.ApplyColors()) form_.Unload();
}

void FrmMain::btnQuit_Click() {
  if (!state_.blnApplied) {
    const int answer = MsgBox(app_, texts_.quitPrompt, tk::kMbYesNo | tk::kMbExclamation);
    if (answer == tk::kAnswerYes) {
      if (!owner_.ApplyColors()) return;
    } else if (answer != tk::kAnswerNo) {
      // Esc or Alt+F4 on the box under Wine, or a box that failed: no answer, so nothing is lost.
      return;
    }
  }
  form_.Unload();
}

// Reloads the owner's colours as they are stored now.
void FrmMain::btnReset_Click() { owner_.LoadColors(); }

void FrmMain::mnuQuit_Click() { form_.Unload(); }

void FrmMain::Run() {
  try {
    app_.Run(form_);
  } catch (const tk::WindowNotCreated&) {
    MsgBox(app_, texts_.noWindow, tk::kMbOk | tk::kMbExclamation);
  }
}

void FrmMain::mnuHelp_Click() {
  if (showAbout_) showAbout_(form_, texts_.about);
}

}  // namespace app
