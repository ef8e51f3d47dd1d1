// The decisions the Win32 layer takes from plain values: the file dialog's names and filter, a
// font's face, whether a colour of text reads.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "toolkit/contrast.h"
#include "toolkit/file_dialog.h"
#include "toolkit/font_face.h"

namespace {

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

TEST(FileDialogNames, AnInitialNameWithAWildcardOpensItsFolder) {
  struct Case {
    std::u16string name, folder, file;
  };
  for (const Case& c : {Case{u"C:\\Tintmark\\*.reg", u"C:\\Tintmark", u"*.reg"},
                        Case{u"C:\\*.reg", u"C:\\", u"*.reg"},
                        Case{u"C:\\Tintmark\\colors.reg", u"", u"C:\\Tintmark\\colors.reg"},
                        Case{u"*.reg", u"", u"*.reg"}}) {
    std::u16string folder = u"stale", file;
    tk::SplitInitialFileName(c.name, folder, file);
    EXPECT_EQ(folder, c.folder) << Narrow(c.name);
    EXPECT_EQ(file, c.file);
  }
  EXPECT_EQ(tk::FilterList(u"a (*.reg)|*.reg|b|*.*"),
            std::u16string(u"a (*.reg)\0*.reg\0b\0*.*\0", 22));
  EXPECT_EQ(tk::FilterList(u""), u"") << "no filter at all";
}

TEST(FontFace, AMissingJapaneseProportionalFaceTakesTheFirstOfItsKindThatExists) {
  struct Case {
    std::u16string requested;
    std::set<std::u16string> present;
    std::u16string face;
  };
  for (const Case& c : {
           Case{u"Arial", {u"IPAPGothic"}, u"Arial"},
           Case{u"ＭＳ Ｐゴシック", {u"ＭＳ Ｐゴシック", u"Meiryo UI"}, u"ＭＳ Ｐゴシック"},
           Case{u"ＭＳ Ｐゴシック", {u"MS PGothic", u"Meiryo UI"}, u"MS PGothic"},
           Case{u"MS PGothic", {u"IPAPGothic", u"Meiryo UI"}, u"Meiryo UI"},
           Case{u"MS PGothic", {u"IPAPGothic"}, u"IPAPGothic"},
           Case{u"ＭＳ Ｐゴシック", {}, u"ＭＳ Ｐゴシック"},
       }) {
    const auto exists = [&c](const std::u16string& face) { return c.present.count(face) != 0; };
    EXPECT_EQ(tk::FaceFor(c.requested, exists), c.face) << Narrow(c.face);
  }
}

// 4.5 : 1 with the luminance (r/255)² · 0.2126 + (g/255)² · 0.7152 + (b/255)² · 0.0722: grey up
// to 109 reads on white.
TEST(Contrast, TextReadsAtFourAndAHalfToOne) {
  struct Case {
    std::uint32_t text, back;
    bool reads;
  };
  for (const Case& c : {Case{0x000000, 0xFFFFFF, true}, Case{0xFFFFFF, 0x000000, true},
                        Case{0x6D6D6D, 0xFFFFFF, true}, Case{0x6E6E6E, 0xFFFFFF, false},
                        Case{0xFFFFFF, 0x6D6D6D, true}, Case{0xFF0000, 0xFFFFFF, true},
                        Case{0x0000FF, 0xFFFFFF, false}, Case{0x00FF00, 0x000000, true},
                        Case{0xFF0000, 0x000000, false}}) {
    EXPECT_EQ(tk::TextReads(c.text, c.back), c.reads) << std::hex << c.text << " on " << c.back;
  }
}

}  // namespace
