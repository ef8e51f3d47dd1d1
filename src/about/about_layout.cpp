#include "about/about_layout.h"

#include <utility>

namespace about {

namespace {

using tk::ControlKind;
using tk::ControlSpec;
using tk::Place;

// Authorship line under the version.
constexpr char16_t kDescription[] = u"Tintmark開発班";

ControlSpec Make(std::string name, ControlKind kind, std::u16string caption, Place place,
                 int tabIndex, int stacking) {
  return tk::MakeControl(std::move(name), -1, kind, std::move(caption), place, tabIndex, stacking);
}

ControlSpec SizedLabel(std::string name, std::u16string caption, Place place, int tab,
                       int stacking) {
  ControlSpec spec =
      Make(std::move(name), ControlKind::kLabel, std::move(caption), place, tab, stacking);
  spec.autoSize = true;
  return spec;
}

// One of the two lines of the etched separator; both run past the side edges of the box.
ControlSpec EtchLine(int index, int x1, int x2, int y, int systemColor, int width,
                     bool insideSolid, int stacking) {
  return tk::MakeLine("Line1", index, x1, y, x2, y, systemColor, width, insideSolid, stacking);
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
  description.foreColor = 0x000000;
  c.push_back(description);

  ControlSpec title = SizedLabel("lblTitle", u"Tintmark", {1050, 240, 1065, 240}, 3, 4);
  title.font = tk::FontSpec{u"ＭＳ Ｐゴシック", 12, 700, 128};
  title.foreColor = 0x000000;
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
