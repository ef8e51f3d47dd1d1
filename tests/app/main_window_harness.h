#pragma once
// Starts the main window over this build's driver and registry, and reads what it shows.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "about/frm_about.h"
#include "app/frm_main.h"
#include "store/memory/faulty_registry.h"
#include "support/driver.h"
#include "support/file_fixture.h"
#include "support/registry_fixture.h"

namespace tktest {

inline constexpr char kOwners[] = "Software\\Mirabilis\\ICQ\\Owners";
inline constexpr char16_t kIdRequestText[] =
    u"Tintmarkは、あなたのICQのユーザーIDを取得できませんでした。\r\n\r\n"
    u"はじめにIDを正確に入力してください。";
inline constexpr char16_t kIdRequestTitle[] = u" - ID入力要求 - Tintmark";

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : driver(MakeDriver()), registry(MakeRegistryFixture()) {}

  // An owner as ICQ leaves it: "LastOwner" and the owner's two colours.
  void AddOwner(std::uint32_t id, std::uint32_t pen, std::uint32_t back, bool last = true) {
    const std::string sendMsg =
        std::string(kOwners) + "\\" + std::to_string(id) + "\\Windows\\SendMsg";
    registry->CreateKey(sendMsg);
    registry->SetDword(sendMsg, "Pen Color", pen);
    registry->SetDword(sendMsg, "Back Color", back);
    if (last) registry->SetDword(kOwners, "LastOwner", id);
  }
  std::optional<std::uint32_t> Stored(std::uint32_t id, const char* name) {
    return registry->ReadDword(
        std::string(kOwners) + "\\" + std::to_string(id) + "\\Windows\\SendMsg", name);
  }

  void Start() { StartThrough(registry->Registry()); }
  // The same registry, refusing the calls a test chooses; StartRefusing() runs the window over it.
  store::FaultInjectingRegistry& Refusing() {
    if (!refusing) refusing = std::make_unique<store::FaultInjectingRegistry>(registry->Registry());
    return *refusing;
  }
  void StartRefusing() { StartThrough(Refusing()); }
  void StartThrough(store::Registry& through) {
    frm =
        std::make_unique<app::FrmMain>(driver->App(), through, files->Access(),
                                       app::TextsFor(driver->App().GetBackend()), about::ShowAbout);
    frm->Files().OpenAtStart(fileArgument);
    driver->Show(frm->Form());
  }
  // Starts with no owner found: the ID request is answered.
  void StartWithoutOwner() {
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    Start();
  }

  tk::Form& Form() { return frm->Form(); }
  tk::TextBox& Text(const char* name, int index = -1) {
    return Form().Get<tk::TextBox>(name, index);
  }
  tk::CommandButton& Button(const char* name, int index = -1) {
    return Form().Get<tk::CommandButton>(name, index);
  }
  tk::OptionButton& Option(const char* name, int index) {
    return Form().Get<tk::OptionButton>(name, index);
  }
  tk::MenuItem& Menu(const char* name) { return Form().Menu(name); }
  const app::WindowState& State() { return frm->State(); }

  // The three channel fields as shown.
  std::u16string Channels() {
    return driver->ShownText(Text("txtColor", 0)) + u"," + driver->ShownText(Text("txtColor", 1)) +
           u"," + driver->ShownText(Text("txtColor", 2));
  }
  const MessageBoxCall& LastMessage() {
    EXPECT_FALSE(driver->MessageBoxes().empty());
    static const MessageBoxCall none;
    return driver->MessageBoxes().empty() ? none : driver->MessageBoxes().back();
  }

  std::unique_ptr<Driver> driver;
  std::unique_ptr<RegistryFixture> registry;
  std::unique_ptr<FileFixture> files = MakeFileFixture();
  std::u16string fileArgument;  // the program's argument; set before Start()
  std::unique_ptr<store::FaultInjectingRegistry> refusing;
  std::unique_ptr<app::FrmMain> frm;
};

// A table case's name in the test list: its description's letters and digits, each word
// capitalised, the arrows spelt out ("Shift+▲ stops at 255" is ShiftUpStopsAt255).
inline std::string CaseName(std::string_view what) {
  std::string name;
  bool wordStart = true;
  for (std::size_t i = 0; i < what.size(); ++i) {
    const char c = what[i];
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      name += wordStart && c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
      wordStart = false;
      continue;
    }
    if (what.substr(i, 3) == "▲") name += "Up";
    if (what.substr(i, 3) == "▼") name += "Down";
    wordStart = true;
  }
  return name;
}

}  // namespace tktest
