#include "app/texts.h"

#include <string>

namespace app {

namespace {

constexpr char16_t kJapaneseFace[] = u"ＭＳ Ｐゴシック";
constexpr int kShiftJis = 128;
// An empty face is the system's user-interface font, in its own character set.
constexpr char16_t kSystemFace[] = u"";
constexpr int kDefaultCharset = 1;
constexpr int kSymbolCharset = 2;

constexpr Texts kJapanese{
    .apply = u"適用",
    .reset = u"現在の色",
    .quit = u"終了",
    .decimal = u"10進数",
    .hexadecimal = u"16進数",
    .textColor = u"文字色",
    .backColor = u"背景色",
    .red = u"赤(&R) :",
    .green = u"緑(&G) :",
    .blue = u"青(&B) :",
    .up = u"▲",
    .down = u"▼",
    .upNames = {u"赤 ▲", u"緑 ▲", u"青 ▲"},
    .downNames = {u"赤 ▼", u"緑 ▼", u"青 ▼"},
    .sampleName = u"見本",
    .sampleHint = u"Shift : 10ずつ変動    Ctrl  : 最大値/最小値",
    .labelFont = {kJapaneseFace, 9, 700, kShiftJis},
    .fieldFont = {kJapaneseFace, 11.25, 400, kShiftJis},
    .sampleFont = {kJapaneseFace, 12, 400, kShiftJis},

    .fileMenu = u"ﾌｧｲﾙ(&F)",
    .open = u"開く(&O)",
    .save = u"上書き保存(&S)",
    .saveAsNewName = u"名前を付けて保存(&N)",
    .applyItem = u"適用(&A)",
    .changeId = u"&IDの変更",
    .applyAndQuit = u"適用して終了(&E)",
    .quitItem = u"終了(&Q)",
    .aboutItem = u"Tintmarkについて(&H)",
    .fileFilter = u"レジストリの項目 (*.reg) |*.reg|すべてのﾌｧｲﾙ (*.*) |*.*",

    .quitPrompt = {u"色の設定は変更されています。\r\n\r\n変更された設定を適用しますか？",
                   u" - 注意！ - Tintmark"},
    .idRequest = {u"Tintmarkは、あなたのICQのユーザーIDを取得できませんでした。\r\n\r\n"
                  u"はじめにIDを正確に入力してください。",
                  u" - ID入力要求 - Tintmark"},
    .noWindow = {u"Tintmarkのウィンドウを作成できませんでした。\r\n\r\n"
                 u"Windowsのリソースが不足している可能性があります。"
                 u"ほかのプログラムを閉じてから、もう一度起動してください。",
                 u" - 起動エラー - Tintmark"},
    .emptyId = {u"ICQのユーザーIDを正確に入力してください！", u" - ID未入力 - Tintmark"},
    .idError = {u"ユーザーIDが間違っています！\r\n\r\nユーザーIDは正確に入力してください。",
                u" - IDエラー - Tintmark"},
    .applyError = {u"色の設定を適用できませんでした。\r\n\r\n"
                   u"このユーザーIDには色の設定の項目がないか、書き込みが許可されていません。",
                   u" - 適用エラー - Tintmark"},
    .saveError = {u"色の設定を保存できませんでした。", u" - 保存エラー - Tintmark"},
    .readError = {u"色の設定ファイルを読み込めませんでした。", u" - 読み込みエラー - Tintmark"},
    .applyQuestion = {u"開いた色設定を適用しますか？", u"! - 適用確認 - Tintmark"},
    .failure = {u"予期しないエラーが起きたため、Tintmarkを終了します。\r\n\r\n"
                u"適用していない色の設定は失われます。",
                u"Tintmark"},
    .notFound = u"ファイルが見つかりません。",
    .folder = u"ファイルではなくフォルダーです。",
    .cannotOpen =
        u"ファイルを開けません。ほかのプログラムが使用中か、アクセスが許可されていません。",
    .tooLarge = u"ファイルが大きすぎます。",
    .notAColorFile = u"色の設定ファイルではありません。",

    .about = {.caption = u"Tintmarkについて",
              .description = u"Tintmark開発班",
              .titleFont = {kJapaneseFace, 12, 700, kShiftJis},
              .noBoxText = u"バージョン情報を表示できませんでした。\r\n\r\n"
                           u"Windowsのリソースが不足している可能性があります。",
              .noBoxTitle = u" - 表示エラー - Tintmark"},
};

// The captions fit the same controls as the Japanese ones; where the whole English word does not,
// the caption is its short form and screen readers get the whole.
constexpr Texts kEnglish{
    .apply = u"Apply",
    .reset = u"Current",
    .quit = u"Quit",
    .decimal = u"Dec",
    .hexadecimal = u"Hex",
    .textColor = u"Text",
    .backColor = u"Back",
    .resetName = u"Current colour",
    .textColorName = u"Text colour",
    .backColorName = u"Back colour",
    .decimalName = u"Decimal",
    .hexadecimalName = u"Hexadecimal",
    .red = u"&Red :",
    .green = u"&Green :",
    .blue = u"&Blue :",
    // The up and down triangles of the Marlett face, with which Windows draws its own spin buttons
    // on every version since 95, whatever the code page.
    .up = u"5",
    .down = u"6",
    .upNames = {u"Red up", u"Green up", u"Blue up"},
    .downNames = {u"Red down", u"Green down", u"Blue down"},
    .sampleName = u"Sample",
    // One line: two lines of a Western face at this size are taller than the box. Ctrl takes the
    // value to either end of its range.
    .sampleHint = u"Shift: 10  Ctrl: ends",
    .labelFont = {kSystemFace, 9, 700, kDefaultCharset},
    .fieldFont = {kSystemFace, 11.25, 400, kDefaultCharset},
    .sampleFont = {kSystemFace, 12, 400, kDefaultCharset},
    .arrowFont = tk::FontSpec{u"Marlett", 12, 400, kSymbolCharset},

    .fileMenu = u"&File",
    .open = u"&Open...",
    .save = u"&Save",
    .saveAsNewName = u"Save &As...",
    .applyItem = u"A&pply",
    .changeId = u"Change &ID",
    .applyAndQuit = u"Apply and Q&uit",
    .quitItem = u"&Quit",
    .aboutItem = u"&About Tintmark",
    .fileFilter = u"Registration Entries (*.reg) |*.reg|All Files (*.*) |*.*",

    .quitPrompt = {u"The colour settings have been changed.\r\n\r\nApply the changed settings?",
                   u" - Caution! - Tintmark"},
    .idRequest = {u"Tintmark could not obtain your ICQ user ID.\r\n\r\n"
                  u"Please first enter the ID correctly.",
                  u" - ID Entry Request - Tintmark"},
    .noWindow = {u"Tintmark could not create its window.\r\n\r\n"
                 u"Windows may be running low on resources. "
                 u"Close other programs, then start Tintmark again.",
                 u" - Start-up Error - Tintmark"},
    .emptyId = {u"Please enter your ICQ user ID correctly!", u" - ID Not Entered - Tintmark"},
    .idError = {u"The user ID is wrong!\r\n\r\nPlease enter the user ID correctly.",
                u" - ID Error - Tintmark"},
    .applyError = {u"The colour settings could not be applied.\r\n\r\n"
                   u"This user ID has no colour settings, or writing them is not allowed.",
                   u" - Apply Error - Tintmark"},
    .saveError = {u"The colour settings could not be saved.", u" - Save Error - Tintmark"},
    .readError = {u"The colour settings file could not be read.", u" - Read Error - Tintmark"},
    .applyQuestion = {u"Apply the opened colour settings?", u"! - Confirm Apply - Tintmark"},
    .failure = {u"An unexpected error occurred, so Tintmark will close.\r\n\r\n"
                u"Colour settings that were not applied are lost.",
                u"Tintmark"},
    .notFound = u"The file was not found.",
    .folder = u"This is a folder, not a file.",
    .cannotOpen = u"The file cannot be opened: another program is using it, or access is denied.",
    .tooLarge = u"The file is too large.",
    .notAColorFile = u"This is not a colour settings file.",

    .about = {.caption = u"About Tintmark",
              .description = u"The Tintmark team",
              .titleFont = {kSystemFace, 12, 700, kDefaultCharset},
              .noBoxText = u"The version information could not be shown.\r\n\r\n"
                           u"Windows may be running low on resources.",
              .noBoxTitle = u" - Display Error - Tintmark"},
};

// Every Japanese text, to ask the system about them all at once.
std::u16string AllOf(const Texts& t) {
  std::u16string all;
  for (std::u16string_view text : {t.apply,
                                   t.reset,
                                   t.quit,
                                   t.decimal,
                                   t.hexadecimal,
                                   t.textColor,
                                   t.backColor,
                                   t.red,
                                   t.green,
                                   t.blue,
                                   t.up,
                                   t.down,
                                   t.upNames[0],
                                   t.upNames[1],
                                   t.upNames[2],
                                   t.downNames[0],
                                   t.downNames[1],
                                   t.downNames[2],
                                   t.sampleName,
                                   t.sampleHint,
                                   t.fileMenu,
                                   t.open,
                                   t.save,
                                   t.saveAsNewName,
                                   t.applyItem,
                                   t.changeId,
                                   t.applyAndQuit,
                                   t.quitItem,
                                   t.aboutItem,
                                   t.fileFilter,
                                   t.quitPrompt.text,
                                   t.quitPrompt.title,
                                   t.idRequest.text,
                                   t.idRequest.title,
                                   t.noWindow.text,
                                   t.noWindow.title,
                                   t.emptyId.text,
                                   t.emptyId.title,
                                   t.idError.text,
                                   t.idError.title,
                                   t.applyError.text,
                                   t.applyError.title,
                                   t.saveError.text,
                                   t.saveError.title,
                                   t.readError.text,
                                   t.readError.title,
                                   t.applyQuestion.text,
                                   t.applyQuestion.title,
                                   t.failure.text,
                                   t.failure.title,
                                   t.notFound,
                                   t.folder,
                                   t.cannotOpen,
                                   t.tooLarge,
                                   t.notAColorFile,
                                   t.about.caption,
                                   t.about.description,
                                   t.about.noBoxText,
                                   t.about.noBoxTitle}) {
    all += text;
  }
  return all;
}

}  // namespace

const Texts& JapaneseTexts() { return kJapanese; }
const Texts& EnglishTexts() { return kEnglish; }

const Texts& TextsFor(tk::Backend& system) {
  static const std::u16string japanese = AllOf(kJapanese);
  return system.CanShow(japanese, kJapanese.labelFont) ? kJapanese : kEnglish;
}

}  // namespace app
