#pragma once
// The About box: the program's icon, name and version, placed against the main window.

#include <string>

#include "about/about_texts.h"
#include "toolkit/form.h"

namespace about {

// "Version 1.12.10": the minor number has at least two digits, the others none added.
std::u16string VersionCaption(int major, int minor, int revision);

class FrmAbout {
 public:
  // `frmMain` is the window the box places itself against when it loads.
  FrmAbout(tk::Application& app, const tk::Form& frmMain, const AboutTexts& texts);

  tk::Form& Form() { return form_; }

 private:
  void Form_Load();
  void cmdOK_Click();

  tk::Application& app_;
  const tk::Form& frmMain_;
  const tk::FormSpec spec_;  // the form holds on to it
  tk::Form form_;
  tk::Label& lblVersion_;
};

// Loads a new About box in `texts` against `frmMain` and shows it modally; returns once it has
// closed.
void ShowAbout(tk::Form& frmMain, const AboutTexts& texts);

}  // namespace about
