#include "about/frm_about.h"

#include <string>

#include "about/about_layout.h"
#include "resources/version.h"

namespace about {

namespace {
std::u16string Decimal(int number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string VersionCaption(int major, int minor, int revision) {
  std::u16string minorText = Decimal(minor);
  if (minorText.size() < 2) minorText.insert(0, 2 - minorText.size(), u'0');
  return u"Version " + Decimal(major) + u"." + minorText + u"." + Decimal(revision);
}

FrmAbout::FrmAbout(tk::Application& app, const tk::Form& frmMain, const AboutTexts& texts)
    : app_(app),
      frmMain_(frmMain),
      spec_(AboutFormSpec(texts)),
      form_(app, spec_),
      lblVersion_(form_.Get<tk::Label>("lblVersion")) {
  form_.Load = [this] { Form_Load(); };
  form_.Get<tk::CommandButton>("cmdOK").Click = [this] { cmdOK_Click(); };
}

void FrmAbout::Form_Load() {
  // Wherever the main window stands, also when that puts the box partly off the screen or on a
  // screen of another DPI: the offset is the box's own twips.
  form_.MoveFrom(frmMain_, 150, 900);
  lblVersion_.SetCaption(
      VersionCaption(TINTMARK_VERSION_MAJOR, TINTMARK_VERSION_MINOR, TINTMARK_VERSION_REVISION));
  app_.Beep();
}

void FrmAbout::cmdOK_Click() { form_.Unload(); }

void ShowAbout(tk::Form& frmMain, const AboutTexts& texts) {
  FrmAbout box(frmMain.App(), frmMain, texts);
  try {
    box.Form().ShowModal();
  } catch (const tk::WindowNotCreated&) {
    frmMain.App().MsgBox(std::u16string(texts.noBoxText), tk::kMbOk | tk::kMbExclamation,
                         std::u16string(texts.noBoxTitle));
  }
}

}  // namespace about
