#include "about/about_layout.h"

#include <utility>

namespace about {

namespace {

using tk::ControlKind;
using tk::ControlSpec;

// Authorship line under the version.
constexpr char16_t kDescription[] = u"Tintmark開発班";

struct Place {
  int left, top, width, height;
};

ControlSpec Make(std::string name, ControlKind kind, std::u16string caption, Place place,
                 int tabIndex, int stacking) {
  ControlSpec spec;
  spec.name = std::move(name);
  spec.kind = kind;
  spec.caption = std::move(caption);
  spec.left = place.left;
  spec.top = place.top;
  spec.width = place.width;
  spec.height = place.height;
  spec.tabIndex = tabIndex;
  spec.stacking = stacking;
  return spec;
}

ControlSpec SizedLabel(std::string name, std::u16string caption, Place place, int tab,
                       int stacking) {
  ControlSpec spec =
      Make(std::move(name), ControlKind::kLabel, std::move(caption), place, tab, stacking);
  spec.autoSize = true;
  return spec;
}

// One of the two lines of the etched separator; both run past the side edges of the box.
ControlSpec EtchLine(int index, int x1, int x2, int y, int systemColour, int width,
                     bool insideSolid, int stacking) {
  ControlSpec spec = Make("Line1", ControlKind::kLine, u"", {x1, y, x2 - x1, 0}, -1, stacking);
  spec.index = index;
  spec.x1 = x1;
  spec.y1 = y;
  spec.x2 = x2;
  spec.y2 = y;
  spec.systemColour = systemColour;
  spec.lineWidth = width;
  spec.insideSolid = insideSolid;
  return spec;
}

tk::FormSpec BuildAboutForm() {
  tk::FormSpec form;
  form.name = "frmAbout";
  form.caption = u"Tintmarkについて";
  form.clientWidth = 2475;
  form.clientHeight = 1905;
  form.border = tk::BorderStyle::kFixedDialog;
  form.minButton = false;
  form.maxButton = false;

  // Stacking numbers count from the front-most control.
  auto& c = form.controls;
  ControlSpec ok = Make("cmdOK", ControlKind::kCommandButton, u"OK", {600, 1440, 1380, 345}, 0, 1);
  ok.defaultButton = true;
  ok.cancelButton = true;
  c.push_back(ok);

  ControlSpec icon = Make("picIcon", ControlKind::kPictureBox, u"", {240, 240, 540, 540}, 1, 0);
  icon.autoSize = true;
  icon.sunkenBorder = true;
  icon.showsIcon = true;
  c.push_back(icon);

  ControlSpec description =
      SizedLabel("lblDescription", kDescription, {1080, 960, 1140, 180}, 2, 3);
  description.foreColour = 0x000000;
  c.push_back(description);

  ControlSpec title = SizedLabel("lblTitle", u"Tintmark", {1050, 240, 1065, 240}, 3, 4);
  title.font = tk::FontSpec{u"ＭＳ Ｐゴシック", 12, 700, 128};
  title.foreColour = 0x000000;
  c.push_back(title);

  c.push_back(SizedLabel("lblVersion", u"Version 1.00", {1080, 600, 945, 180}, 4, 6));
  c.push_back(EtchLine(1, -3030, 2534, 1245, 16, 1, true, 2));
  c.push_back(EtchLine(0, -3000, 2549, 1260, 20, 2, false, 5));
  return form;
}

}  // namespace

const tk::FormSpec& AboutFormSpec() {
  static const tk::FormSpec spec = BuildAboutForm();
  return spec;
}

}  // namespace about
