#include "about/about_layout.h"

namespace about {

namespace {

using enum tk::ControlKind;

tk::FormSpec BuildAboutForm(const AboutTexts& texts) {
  return {
      .name = "frmAbout",
      .caption = texts.caption,
      .clientWidth = 2475,
      .clientHeight = 1905,
      .border = tk::BorderStyle::kFixedDialog,
      .minButton = false,
      .maxButton = false,
      // In tab order; stacking counts from the front-most control.
      // One control a row, as in the design's table.
      // clang-format off
      .controls =
          {
              {.name = "cmdOK", .kind = kCommandButton, .caption = u"OK",
               .left = 600, .top = 1440, .width = 1380, .height = 345,
               .tabIndex = 0, .stacking = 1, .defaultButton = true, .cancelButton = true},
              {.name = "picIcon", .kind = kPictureBox,
               .left = 240, .top = 240, .width = 540, .height = 540,
               .tabIndex = 1, .stacking = 0, .autoSize = true,
               .sunkenBorder = true, .showsIcon = true},
              {.name = "lblDescription", .kind = kLabel, .caption = texts.description,
               .left = 1080, .top = 960, .width = 1140, .height = 180,
               .tabIndex = 2, .stacking = 3, .autoSize = true, .foreColor = 0x000000},
              {.name = "lblTitle", .kind = kLabel, .caption = u"Tintmark",
               .left = 1050, .top = 240, .width = 1065, .height = 240,
               .tabIndex = 3, .stacking = 4, .font = texts.titleFont,
               .autoSize = true, .foreColor = 0x000000},
              {.name = "lblVersion", .kind = kLabel, .caption = u"Version 1.00",
               .left = 1080, .top = 600, .width = 945, .height = 180,
               .tabIndex = 4, .stacking = 6, .autoSize = true},
              // The etched separator above the OK button, past both side edges of the box.
              {.name = "Line1", .index = 1, .kind = kLine, .stacking = 2,
               .x1 = -3030, .y1 = 1245, .x2 = 2534, .y2 = 1245,
               .systemColor = 16, .lineWidth = 1, .insideSolid = true},
              {.name = "Line1", .index = 0, .kind = kLine, .stacking = 5,
               .x1 = -3000, .y1 = 1260, .x2 = 2549, .y2 = 1260,
               .systemColor = 20, .lineWidth = 2},
          },
      // clang-format on
  };
}

}  // namespace

tk::FormSpec AboutFormSpec(const AboutTexts& texts) { return BuildAboutForm(texts); }

}  // namespace about
