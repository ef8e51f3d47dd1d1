// A system that can show nothing but ASCII (a Western Windows 98, an English Windows XP without the
// East Asian files): the same window, the same messages with the same buttons, icons and answers,
// every text readable there.

#include <map>
#include <set>
#include <string_view>

#include "app/main_layout.h"
#include "app/main_window_harness.h"
#include "files/color_file.h"
#include "support/headless/driver_headless.h"

namespace tktest {
namespace {

struct Seen {
  std::vector<std::u16string> texts;  // every caption, name, menu and box text the user meets
  std::vector<MessageBoxCall> boxes;
};

bool Readable(std::u16string_view text) {
  for (char16_t c : text) {
    if ((c < 0x20 || c > 0x7E) && c != u'\r' && c != u'\n') return false;
  }
  return true;
}

std::size_t Paragraphs(std::u16string_view text) {
  std::size_t count = 1;
  for (std::size_t at = 0; (at = text.find(u"\r\n\r\n", at)) != text.npos; at += 4) ++count;
  return count;
}

class Language : public MainWindowTest {
 protected:
  // Meets every message there is, the About box and every control and menu of the window.
  Seen Walk(bool asciiOnly) {
    static_cast<HeadlessDriver&>(*driver).Backend().asciiOnly = asciiOnly;
    Seen seen;
    const auto note = [&seen](tk::Form& form) {
      for (const auto& control : form.Controls()) {
        seen.texts.emplace_back(control->Spec().caption);
        seen.texts.emplace_back(control->Spec().accessibleName);
      }
      for (const auto& item : form.Menus()) seen.texts.emplace_back(item->Spec().caption);
      seen.texts.emplace_back(form.Spec().caption);
    };
    const std::u16string folder = files->Folder(u"colours");
    files->Put(folder + u"\\good.reg", files::ColorFileBytes(u"555", 0x123456, 0xFFFFFF));
    files->Put(folder + u"\\bad.reg", "Buy milk.\r\n");

    StartWithoutOwner();  // the ID request
    note(Form());
    seen.texts.push_back(driver->ShownText(Text("txtTest")));
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    driver->Click(Button("btnAccept"));  // no ID
    driver->Click(Text("txtID"));
    driver->Type(u"42");
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    driver->Click(Button("btnAccept"));  // no such owner
    driver->AnswerNextFileDialog(folder + u"\\bad.reg");
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    driver->ChooseMenu(Menu("mnuOpen"));  // not a colour file
    driver->AnswerNextFileDialog(files->LockedFolder() + u"\\x.reg");
    driver->AnswerNextMessageBox(tk::kAnswerOk);
    driver->ChooseMenu(Menu("mnuSaveAsNewName"));  // cannot be written
    driver->AnswerNextFileDialog(folder + u"\\good.reg");
    driver->AnswerNextMessageBox(tk::kAnswerNo);
    driver->ChooseMenu(Menu("mnuOpen"));  // the apply question
    driver->WhenNextModalShown([&](tk::Form& about) {
      note(about);
      driver->Click(about.Get<tk::CommandButton>("cmdOK"));
    });
    driver->ChooseMenu(Menu("mnuHelp"));
    driver->AnswerNextMessageBox(tk::kAnswerNo);
    driver->Click(Button("btnQuit"));  // the quit prompt
    EXPECT_FALSE(Form().IsLoaded());
    EXPECT_EQ(driver->UnexpectedDialogs(), 0);
    seen.boxes = driver->MessageBoxes();
    for (const MessageBoxCall& box : seen.boxes) {
      seen.texts.push_back(box.text);
      seen.texts.push_back(box.title);
    }
    for (const FileDialogCall& dialog : driver->FileDialogs()) seen.texts.push_back(dialog.filter);
    return seen;
  }
};

TEST_F(Language, OnASystemOfOnlyAsciiEveryTextIsEnglishAndEveryMessageAsInJapanese) {
  const Seen japanese = Walk(false);
  frm.reset();  // a fresh window, registry and folder, the same road
  driver = MakeDriver();
  registry = MakeRegistryFixture();
  files = MakeFileFixture();
  const Seen english = Walk(true);

  ASSERT_EQ(english.texts.size(), japanese.texts.size());
  for (std::size_t i = 0; i < english.texts.size(); ++i) {
    const std::string at = "text " + std::to_string(i);
    EXPECT_TRUE(Readable(english.texts[i])) << at;
    if (!japanese.texts[i].empty()) {
      EXPECT_FALSE(english.texts[i].empty()) << at;
    }
  }
  EXPECT_FALSE(Readable(japanese.texts[0] + japanese.boxes.at(0).text))
      << "Japanese where it shows";

  ASSERT_EQ(english.boxes.size(), 7u);
  ASSERT_EQ(japanese.boxes.size(), english.boxes.size());
  for (std::size_t i = 0; i < english.boxes.size(); ++i) {
    EXPECT_EQ(english.boxes[i].style, japanese.boxes[i].style) << i;
    EXPECT_EQ(Paragraphs(english.boxes[i].text), Paragraphs(japanese.boxes[i].text)) << i;
    EXPECT_NE(english.boxes[i].title, japanese.boxes[i].title) << i;
    EXPECT_EQ(english.boxes[i].title.substr(0, 3), japanese.boxes[i].title.substr(0, 3)) << i;
    EXPECT_TRUE(english.boxes[i].title.ends_with(u" - Tintmark")) << i;
  }
}

// Alt+letter reaches one control or menu of the window, and a letter one item of the open menu.
TEST(LanguageTables, NoAccessKeyServesTwoPlacesInEitherLanguage) {
  for (const app::Texts* texts : {&app::JapaneseTexts(), &app::EnglishTexts()}) {
    std::map<std::string_view, std::set<char16_t>> keys;  // by where the key is pressed
    std::size_t count = 0;
    const auto add = [&](std::string_view where, std::u16string_view caption) {
      if (const char16_t key = tk::AccessKey(caption)) {
        ++count;
        EXPECT_TRUE(keys[where].insert(key).second)
            << std::string(where) << ": " << static_cast<char>(key);
      }
    };
    const tk::FormSpec spec = app::MainFormSpec(*texts);
    for (const tk::ControlSpec& control : spec.controls) add("window", control.caption);
    for (const tk::MenuSpec& item : spec.menus) {
      add(item.parent.empty() ? "window" : item.parent, item.caption);
    }
    EXPECT_EQ(count, 12u) << "three labels, two menus, seven items";
  }
}

}  // namespace
}  // namespace tktest
