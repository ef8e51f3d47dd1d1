#include "app/main_layout.h"

namespace app {

namespace {

using enum tk::ControlKind;
tk::FormSpec BuildMainForm(const Texts& t) {
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
              {.name = "btnAccept", .kind = kCommandButton, .caption = t.apply,
               .left = 1440, .top = 3420, .width = 1215, .height = 375,
               .tabIndex = 0, .stacking = 13},
              {.name = "optDes", .index = 0, .kind = kOptionButton, .caption = t.decimal,
               .left = 480, .top = 1320, .width = 855, .height = 255,
               .tabIndex = 1, .stacking = 18, .container = "frmDes", .accessibleName = t.decimalName,
               .selected = true},
              {.name = "optDes", .index = 1, .kind = kOptionButton, .caption = t.hexadecimal,
               .left = 1560, .top = 1320, .width = 855, .height = 255,
               .tabIndex = 2, .stacking = 17, .container = "frmDes",
               .accessibleName = t.hexadecimalName},
              {.name = "optObject", .index = 1, .kind = kOptionButton, .caption = t.backColor,
               .left = 1440, .top = 1560, .width = 975, .height = 375,
               .tabIndex = 3, .stacking = 1, .accessibleName = t.backColorName,
               .selected = true},
              {.name = "optObject", .index = 0, .kind = kOptionButton, .caption = t.textColor,
               .left = 360, .top = 1560, .width = 975, .height = 375,
               .tabIndex = 4, .stacking = 2, .accessibleName = t.textColorName},
              {.name = "Label1", .kind = kLabel, .caption = t.red,
               .left = 240, .top = 2040, .width = 615, .height = 180,
               .tabIndex = 5, .stacking = 25, .font = t.labelFont, .autoSize = true},
              {.name = "txtColor", .index = 0, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 1980, .width = 615, .height = 330,
               .tabIndex = 6, .stacking = 12, .font = t.fieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 0, .kind = kCommandButton, .caption = t.up,
               .left = 1680, .top = 1980, .width = 375, .height = 375,
               .tabIndex = 7, .stacking = 9, .font = t.arrowFont, .accessibleName = t.upNames[0]},
              {.name = "btnDown", .index = 0, .kind = kCommandButton, .caption = t.down,
               .left = 2160, .top = 1980, .width = 375, .height = 375,
               .tabIndex = 8, .stacking = 6, .font = t.arrowFont, .accessibleName = t.downNames[0]},
              {.name = "Label2", .kind = kLabel, .caption = t.green,
               .left = 240, .top = 2520, .width = 615, .height = 180,
               .tabIndex = 9, .stacking = 24, .font = t.labelFont, .autoSize = true},
              {.name = "txtColor", .index = 1, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 2460, .width = 615, .height = 330,
               .tabIndex = 10, .stacking = 11, .font = t.fieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 1, .kind = kCommandButton, .caption = t.up,
               .left = 1680, .top = 2460, .width = 375, .height = 375,
               .tabIndex = 11, .stacking = 8, .font = t.arrowFont, .accessibleName = t.upNames[1]},
              {.name = "btnDown", .index = 1, .kind = kCommandButton, .caption = t.down,
               .left = 2160, .top = 2460, .width = 375, .height = 375,
               .tabIndex = 12, .stacking = 5, .font = t.arrowFont, .accessibleName = t.downNames[1]},
              {.name = "Label3", .kind = kLabel, .caption = t.blue,
               .left = 240, .top = 3000, .width = 615, .height = 180,
               .tabIndex = 13, .stacking = 23, .font = t.labelFont, .autoSize = true},
              {.name = "txtColor", .index = 2, .kind = kTextBox, .caption = u"255",
               .left = 960, .top = 2940, .width = 615, .height = 330,
               .tabIndex = 14, .stacking = 10, .font = t.fieldFont, .maxLength = 3},
              {.name = "btnUp", .index = 2, .kind = kCommandButton, .caption = t.up,
               .left = 1680, .top = 2940, .width = 375, .height = 375,
               .tabIndex = 15, .stacking = 7, .font = t.arrowFont, .accessibleName = t.upNames[2]},
              {.name = "btnDown", .index = 2, .kind = kCommandButton, .caption = t.down,
               .left = 2160, .top = 2940, .width = 375, .height = 375,
               .tabIndex = 16, .stacking = 4, .font = t.arrowFont, .accessibleName = t.downNames[2]},
              {.name = "btnReset", .kind = kCommandButton, .caption = t.reset,
               .left = 120, .top = 3420, .width = 1215, .height = 375,
               .tabIndex = 17, .stacking = 3, .accessibleName = t.resetName},
              {.name = "btnQuit", .kind = kCommandButton, .caption = t.quit,
               .left = 240, .top = 3900, .width = 2295, .height = 375,
               .tabIndex = 18, .stacking = 14},
              {.name = "txtID", .kind = kTextBox,
               .left = 600, .top = 120, .width = 1815, .height = 315,
               .tabIndex = 19, .stacking = 0, .font = t.fieldFont, .enabled = false},
              {.name = "txtTest", .kind = kTextBox,
               .left = 120, .top = 540, .width = 2535, .height = 615,
               .tabIndex = 20, .stacking = 15, .font = t.sampleFont, .accessibleName = t.sampleName,
               .multiLine = true,
               .foreColor = 0x000000, .backColor = 0xFFFFFF},
              {.name = "Label0", .kind = kLabel, .caption = u"ID :",
               .left = 240, .top = 180, .width = 330, .height = 180,
               .tabIndex = 21, .stacking = 22, .font = t.labelFont, .names = "txtID",
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
              {"mnuFile", t.fileMenu, "", 0},
              {"mnuOpen", t.open, "mnuFile", u'O'},
              {"mnuSave", t.save, "mnuFile", u'S'},
              {"mnuSaveAsNewName", t.saveAsNewName, "mnuFile", u'X'},
              {"mnuNull0", u"-", "mnuFile", 0},
              {"mnuAccept", t.applyItem, "mnuFile", u'A'},
              {"mnuNull1", u"-", "mnuFile", 0},
              {"mnuChangeID", t.changeId, "mnuFile", u'I'},
              {"mnuNull2", u"-", "mnuFile", 0},
              {"mnuEnd", t.applyAndQuit, "mnuFile", u'Z'},
              {"mnuQuit", t.quitItem, "mnuFile", u'Q'},
              {"mnuHelp", t.aboutItem, "", 0},
          },
  };
}

}  // namespace

tk::FormSpec MainFormSpec(const Texts& texts) { return BuildMainForm(texts); }

}  // namespace app
