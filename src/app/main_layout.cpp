#include "app/main_layout.h"

namespace app {

namespace {

using enum tk::ControlKind;
using tk::FontSpec;

constexpr char16_t kJapaneseFace[] = u"ＭＳ Ｐゴシック";
constexpr FontSpec kLabelFont{kJapaneseFace, 9, 700, 128};
constexpr FontSpec kFieldFont{kJapaneseFace, 11.25, 400, 128};
constexpr FontSpec kSampleFont{kJapaneseFace, 12, 400, 128};

tk::FormSpec BuildMainForm() {
  return {
      .name = "frmMain",
      .caption = u"Tintmark",
      .clientWidth = 2760,
      .clientHeight = 4455,
      .border = tk::BorderStyle::kFixedSingle,
      .minButton = true,
      .maxButton = false,
      // In tab order; stacking counts from the front-most control.
      // One control a row, as in the design's table.
      // clang-format off
      .controls =
          {
              {.name = "btnAccept", .kind = kCommandButton, .caption = u"適用",
               .left = 1440, .top = 3420, .width = 1215, .height = 375,
               .tabIndex = 0, .stacking = 13},
              {.name = "optDes", .index = 0, .kind = kOptionButton, .caption = u"10進数",
               .left = 480, .top = 1320, .width = 855, .height = 255,
               .tabIndex = 1, .stacking = 18, .container = "frmDes", .selected = true},
              {.name = "optDes", .index = 1, .kind = kOptionButton, .caption = u"16進数",
               .left = 1560, .top = 1320, .width = 855, .height = 255,
               .tabIndex = 2, .stacking = 17, .container = "frmDes"},
              {.name = "optObject", .index = 1, .kind = kOptionButton, .caption = u"背景色",
               .left = 1440, .top = 1560, .width = 975, .height = 375,
               .tabIndex = 3, .stacking = 1, .selected = true},
              {.name = "optObject", .index = 0, .kind = kOptionButton, .caption = u"文字色",
               .left = 360, .top = 1560, .width = 975, .height = 375,
               .tabIndex = 4, .stacking = 2},
              {.name = "Label1", .kind = kLabel, .caption = u"赤(&R) :",
               .left = 240, .top = 2040, .width = 615, .height = 180,
               .tabIndex = 5, .stacking = 25, .font = kLabelFont, .autoSize = true},
              {.name = "txtColor", .index = 0, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 1980, .width = 615, .height = 330,
               .tabIndex = 6, .stacking = 12, .font = kFieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 0, .kind = kCommandButton, .caption = u"▲",
               .left = 1680, .top = 1980, .width = 375, .height = 375,
               .tabIndex = 7, .stacking = 9, .accessibleName = u"赤 ▲"},
              {.name = "btnDown", .index = 0, .kind = kCommandButton, .caption = u"▼",
               .left = 2160, .top = 1980, .width = 375, .height = 375,
               .tabIndex = 8, .stacking = 6, .accessibleName = u"赤 ▼"},
              {.name = "Label2", .kind = kLabel, .caption = u"緑(&G) :",
               .left = 240, .top = 2520, .width = 615, .height = 180,
               .tabIndex = 9, .stacking = 24, .font = kLabelFont, .autoSize = true},
              {.name = "txtColor", .index = 1, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 2460, .width = 615, .height = 330,
               .tabIndex = 10, .stacking = 11, .font = kFieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 1, .kind = kCommandButton, .caption = u"▲",
               .left = 1680, .top = 2460, .width = 375, .height = 375,
               .tabIndex = 11, .stacking = 8, .accessibleName = u"緑 ▲"},
              {.name = "btnDown", .index = 1, .kind = kCommandButton, .caption = u"▼",
               .left = 2160, .top = 2460, .width = 375, .height = 375,
               .tabIndex = 12, .stacking = 5, .accessibleName = u"緑 ▼"},
              {.name = "Label3", .kind = kLabel, .caption = u"青(&B) :",
               .left = 240, .top = 3000, .width = 615, .height = 180,
               .tabIndex = 13, .stacking = 23, .font = kLabelFont, .autoSize = true},
              {.name = "txtColor", .index = 2, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 2940, .width = 615, .height = 330,
               .tabIndex = 14, .stacking = 10, .font = kFieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 2, .kind = kCommandButton, .caption = u"▲",
               .left = 1680, .top = 2940, .width = 375, .height = 375,
               .tabIndex = 15, .stacking = 7, .accessibleName = u"青 ▲"},
              {.name = "btnDown", .index = 2, .kind = kCommandButton, .caption = u"▼",
               .left = 2160, .top = 2940, .width = 375, .height = 375,
               .tabIndex = 16, .stacking = 4, .accessibleName = u"青 ▼"},
              {.name = "btnReset", .kind = kCommandButton, .caption = u"現在の色",
               .left = 120, .top = 3420, .width = 1215, .height = 375,
               .tabIndex = 17, .stacking = 3},
              {.name = "btnQuit", .kind = kCommandButton, .caption = u"終了",
               .left = 240, .top = 3900, .width = 2295, .height = 375,
               .tabIndex = 18, .stacking = 14},
              {.name = "txtID", .kind = kTextBox,
               .left = 600, .top = 120, .width = 1815, .height = 315,
               .tabIndex = 19, .stacking = 0, .font = kFieldFont, .enabled = false},
              {.name = "txtTest", .kind = kTextBox,
               .left = 120, .top = 540, .width = 2535, .height = 615,
               .tabIndex = 20, .stacking = 15, .font = kSampleFont, .accessibleName = u"見本",
               .multiLine = true,
               .foreColor = 0x000000, .backColor = 0xFFFFFF},
              {.name = "Label0", .kind = kLabel, .caption = u"ID :",
               .left = 240, .top = 180, .width = 330, .height = 180,
               .tabIndex = 21, .stacking = 22, .font = kLabelFont, .names = "txtID",
               .autoSize = true},
              {.name = "frmDes", .kind = kFrame,
               .left = -120, .top = -90, .width = 2925, .height = 1635,
               .tabIndex = 22, .stacking = 16},
              // The etched line along the top of the client area, reaching past the right edge.
              {.name = "Line1", .index = 0, .kind = kLine, .stacking = 20,
               .x1 = 0, .y1 = 0, .x2 = 4690, .y2 = 0,
               .systemColor = 16, .lineWidth = 1, .insideSolid = true},
              {.name = "Line1", .index = 1, .kind = kLine, .stacking = 21,
               .x1 = 0, .y1 = 0, .x2 = 4690, .y2 = 0,
               .systemColor = 20, .lineWidth = 3},
          },
      // clang-format on
      .menus =
          {
              {"mnuFile", u"ﾌｧｲﾙ(&F)", "", 0},
              {"mnuOpen", u"開く(&O)", "mnuFile", u'O'},
              {"mnuSave", u"上書き保存(&S)", "mnuFile", u'S'},
              {"mnuSaveAsNewName", u"名前を付けて保存(&N)", "mnuFile", u'X'},
              {"mnuNull0", u"-", "mnuFile", 0},
              {"mnuAccept", u"適用(&A)", "mnuFile", u'A'},
              {"mnuNull1", u"-", "mnuFile", 0},
              {"mnuChangeID", u"&IDの変更", "mnuFile", u'I'},
              {"mnuNull2", u"-", "mnuFile", 0},
              {"mnuEnd", u"適用して終了(&E)", "mnuFile", u'Z'},
              {"mnuQuit", u"終了(&Q)", "mnuFile", u'Q'},
              {"mnuHelp", u"Tintmarkについて(&H)", "", 0},
          },
  };
}

}  // namespace

const tk::FormSpec& MainFormSpec() {
  static const tk::FormSpec spec = BuildMainForm();
  return spec;
}

}  // namespace app
