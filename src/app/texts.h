#pragma once
// Every text the program shows, one table per language. Japanese wherever the system can show it;
// English where it cannot: the forms, the messages and the layout take whichever table start-up
// chose, and do not know which.

#include <optional>
#include <string>
#include <string_view>

#include "about/about_texts.h"
#include "toolkit/backend.h"
#include "toolkit/design.h"
#include "toolkit/form.h"

namespace app {

struct Message {
  std::u16string_view text, title;
};

struct Texts {
  // The main window.
  std::u16string_view apply, reset, quit;
  std::u16string_view decimal, hexadecimal;
  std::u16string_view textColor, backColor;
  // What screen readers call the controls whose captions above are short forms; empty: the caption.
  std::u16string_view resetName{}, textColorName{}, backColorName{}, decimalName{},
      hexadecimalName{};
  std::u16string_view red, green, blue;  // the labels, with their access keys
  std::u16string_view up, down;          // the ▲ and ▼ buttons
  std::u16string_view upNames[3], downNames[3];
  std::u16string_view sampleName;
  std::u16string_view sampleHint;
  tk::FontSpec labelFont, fieldFont, sampleFont;
  std::optional<tk::FontSpec> arrowFont{};  // none: the window's own

  // The File menu, and the About box's item beside it.
  std::u16string_view fileMenu, open, save, saveAsNewName, applyItem, changeId, applyAndQuit,
      quitItem, aboutItem;
  std::u16string_view fileFilter;

  Message quitPrompt, idRequest, noWindow, emptyId, idError, applyError;
  Message saveError, readError, applyQuestion, failure;
  // Why a file could not be read, under the read error's text.
  std::u16string_view notFound, folder, cannotOpen, tooLarge, notAColorFile;

  about::AboutTexts about;
};

// A message box with the message's text and title.
inline int MsgBox(tk::Application& app, const Message& message, int style) {
  return app.MsgBox(std::u16string(message.text), style, std::u16string(message.title));
}

const Texts& JapaneseTexts();
const Texts& EnglishTexts();

// The program's language on this system: Japanese where the system can show every Japanese text in
// the Japanese font, else English. Asked once, at start-up.
const Texts& TextsFor(tk::Backend& system);

}  // namespace app
