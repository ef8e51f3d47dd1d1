#pragma once
// Design-time description of forms: every control and menu item as data, in twips.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

using Color = std::uint32_t;  // 0x00BBGGRR, or a system colour

// A colour of the system's scheme: the top bit set over the system's index of the colour. The
// control takes it from the scheme as it paints, so that it follows a change of scheme.
constexpr Color kSystemColor = 0x80000000;
constexpr Color kWindowBackground = kSystemColor | 5;
constexpr Color kWindowText = kSystemColor | 8;
constexpr Color kButtonFace = kSystemColor | 15;
constexpr Color kButtonText = kSystemColor | 18;

enum class ControlKind {
  kTextBox,
  kCommandButton,
  kOptionButton,
  kFrame,
  kLabel,
  kLine,
  kPictureBox
};

struct FontSpec {
  std::u16string_view face;
  double points = 9;
  int weight = 400;
  int charset = 128;  // Shift-JIS
  bool operator==(const FontSpec&) const = default;
};

// The texts are views: a form's design is constant data, its strings literals.
struct ControlSpec {
  std::string_view name{};
  int index = -1;  // member of a control array when >= 0
  ControlKind kind = ControlKind::kLabel;
  std::u16string_view caption{};  // caption or initial text; "&" marks the access key
  int left = 0, top = 0, width = 0, height = 0;  // twips, relative to the container
  int tabIndex = -1;                             // -1: no tab position
  int stacking = 0;                              // 0 is the front-most; larger is further back
  std::string_view container{};                  // name of the frame holding it; empty: the form
  std::optional<FontSpec> font{};                // none: the form's default font
  // Labels: the control this label names for screen readers, when it does not simply precede it
  // in tab order.
  std::string_view names{};
  int namesIndex = -1;
  // What screen readers call the control where neither its caption nor a label says it.
  std::u16string_view accessibleName{};

  bool enabled = true;
  bool autoSize = false;       // labels and picture boxes size themselves to their content
  bool selected = false;       // option buttons
  bool multiLine = false;      // text boxes: multi-line, wrapping at the field's width
  int maxLength = 0;           // text boxes: 0 = unlimited
  bool defaultButton = false;  // answers Enter
  bool cancelButton = false;   // answers Esc
  std::optional<Color> foreColor{}, backColor{};

  // Lines: end points in twips, system colour index (16 shadow, 20 highlight), pen width in pixels.
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int systemColor = 0;
  int lineWidth = 1;
  bool insideSolid = false;

  bool sunkenBorder = false;  // picture boxes
  bool showsIcon = false;     // picture boxes: the program icon
};

struct MenuSpec {
  std::string_view name;
  std::u16string_view caption;  // "-" is a separator; "&" marks the access key
  std::string_view parent;      // empty: in the menu bar
  char16_t shortcut = 0;        // Ctrl+letter, upper-case letter; 0: none
};

enum class BorderStyle { kFixedSingle, kFixedDialog };

struct FormSpec {
  std::string_view name{};
  std::u16string_view caption{};
  int clientWidth = 0, clientHeight = 0;  // twips
  BorderStyle border = BorderStyle::kFixedSingle;
  bool minButton = false;
  bool maxButton = false;
  bool showsIcon = true;
  std::vector<ControlSpec> controls{};
  std::vector<MenuSpec> menus{};
};

// MulDiv(twips, dpi, 1440), rounding halves away from zero.
int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

// The character after a single "&" in a caption, upper-cased; 0 when there is none.
char16_t AccessKey(std::u16string_view caption);
// The caption as shown: "&&" becomes "&", a single "&" disappears.
std::u16string CaptionWithoutAccessMark(std::u16string_view caption);

}  // namespace tk
