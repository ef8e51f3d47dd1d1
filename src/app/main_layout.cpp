#include "app/main_layout.h"

#include <utility>

namespace app {

namespace {

using tk::ControlKind;
using tk::ControlSpec;
using tk::FontSpec;
using tk::MakeControl;
using tk::Place;

constexpr char16_t kJapaneseFace[] = u"ＭＳ Ｐゴシック";
const FontSpec kLabelFont{kJapaneseFace, 9, 700, 128};
const FontSpec kFieldFont{kJapaneseFace, 11.25, 400, 128};
const FontSpec kSampleFont{kJapaneseFace, 12, 400, 128};

ControlSpec Button(std::string name, int index, std::u16string caption, Place place, int tab,
                   int stacking) {
  return MakeControl(std::move(name), index, ControlKind::kCommandButton, std::move(caption), place,
                     tab, stacking);
}

ControlSpec ChannelLabel(std::string name, std::u16string caption, int top, int tab, int stacking) {
  ControlSpec spec = MakeControl(std::move(name), -1, ControlKind::kLabel, std::move(caption),
                                 {240, top, 615, 180}, tab, stacking);
  spec.font = kLabelFont;
  spec.autoSize = true;
  return spec;
}

ControlSpec ChannelField(int index, int top, int tab, int stacking) {
  ControlSpec spec = MakeControl("txtColor", index, ControlKind::kTextBox, u"255",
                                 {960, top, 615, 330}, tab, stacking);
  spec.font = kFieldFont;
  spec.maxLength = 3;
  return spec;
}

ControlSpec Option(std::string name, int index, std::u16string caption, Place place, int tab,
                   int stacking, bool selected, std::string container = {}) {
  ControlSpec spec = MakeControl(std::move(name), index, ControlKind::kOptionButton,
                                 std::move(caption), place, tab, stacking);
  spec.selected = selected;
  spec.container = std::move(container);
  return spec;
}

// The etched line along the top of the client area, reaching past the right edge.
ControlSpec EtchLine(int index, int systemColor, int width, bool insideSolid, int stacking) {
  return tk::MakeLine("Line1", index, 0, 0, 4690, 0, systemColor, width, insideSolid, stacking);
}

tk::FormSpec BuildMainForm() {
  tk::FormSpec form;
  form.name = "frmMain";
  form.caption = u"Tintmark";
  form.clientWidth = 2760;
  form.clientHeight = 4455;
  form.border = tk::BorderStyle::kFixedSingle;
  form.minButton = true;
  form.maxButton = false;

  // Stacking numbers count from the front-most control.
  auto& c = form.controls;
  c.push_back(Button("btnAccept", -1, u"適用", {1440, 3420, 1215, 375}, 0, 13));
  c.push_back(Option("optDes", 0, u"10進数", {480, 1320, 855, 255}, 1, 18, true, "frmDes"));
  c.push_back(Option("optDes", 1, u"16進数", {1560, 1320, 855, 255}, 2, 17, false, "frmDes"));
  c.push_back(Option("optObject", 1, u"背景色", {1440, 1560, 975, 375}, 3, 1, true));
  c.push_back(Option("optObject", 0, u"文字色", {360, 1560, 975, 375}, 4, 2, false));
  const int rowTops[3] = {1980, 2460, 2940};
  const std::u16string labels[3] = {u"赤(&R) :", u"緑(&G) :", u"青(&B) :"};
  for (int i = 0; i < 3; ++i) {
    const int tab = 5 + 4 * i;
    const int top = rowTops[i];
    c.push_back(ChannelLabel("Label" + std::to_string(i + 1), labels[i], top + 60, tab, 25 - i));
    c.push_back(ChannelField(i, top, tab + 1, 12 - i));
    c.push_back(Button("btnUp", i, u"▲", {1680, top, 375, 375}, tab + 2, 9 - i));
    c.push_back(Button("btnDown", i, u"▼", {2160, top, 375, 375}, tab + 3, 6 - i));
  }
  c.push_back(Button("btnReset", -1, u"現在の色", {120, 3420, 1215, 375}, 17, 3));
  c.push_back(Button("btnQuit", -1, u"終了", {240, 3900, 2295, 375}, 18, 14));

  ControlSpec id =
      MakeControl("txtID", -1, ControlKind::kTextBox, u"", {600, 120, 1815, 315}, 19, 0);
  id.font = kFieldFont;
  id.enabled = false;
  c.push_back(id);

  ControlSpec sample =
      MakeControl("txtTest", -1, ControlKind::kTextBox, u"", {120, 540, 2535, 615}, 20, 15);
  sample.font = kSampleFont;
  sample.multiLine = true;
  sample.foreColor = 0x000000;
  sample.backColor = 0xFFFFFF;
  c.push_back(sample);

  ControlSpec idLabel =
      MakeControl("Label0", -1, ControlKind::kLabel, u"ID :", {240, 180, 330, 180}, 21, 22);
  idLabel.font = kLabelFont;
  idLabel.autoSize = true;
  idLabel.names = "txtID";
  c.push_back(idLabel);

  c.push_back(MakeControl("frmDes", -1, ControlKind::kFrame, u"", {-120, -90, 2925, 1635}, 22, 16));
  c.push_back(EtchLine(0, 16, 1, true, 20));
  c.push_back(EtchLine(1, 20, 3, false, 21));

  form.menus = {
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
  };
  return form;
}

}  // namespace

const tk::FormSpec& MainFormSpec() {
  static const tk::FormSpec spec = BuildMainForm();
  return spec;
}

}  // namespace app
