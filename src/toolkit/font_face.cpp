#include "toolkit/font_face.h"

namespace tk {

std::u16string FaceFor(const std::u16string& requested,
                       const std::function<bool(const std::u16string&)>& exists) {
  const bool japaneseProportional = requested == u"ＭＳ Ｐゴシック" || requested == u"MS PGothic";
  if (!japaneseProportional || exists(requested)) return requested;
  for (const char16_t* candidate :
       {u"ＭＳ Ｐゴシック", u"MS PGothic", u"Meiryo UI", u"Yu Gothic UI", u"IPAPGothic"}) {
    if (exists(candidate)) return candidate;
  }
  return requested;
}

}  // namespace tk
