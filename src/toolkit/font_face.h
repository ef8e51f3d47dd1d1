#pragma once
// Which face a font the design names is made with on a given system.

#include <functional>
#include <string>

namespace tk {

// `requested` itself where `exists` finds it or it is not a Japanese proportional face; else the
// first that exists of MS PGothic (by its Japanese and its English name), Meiryo UI, Yu Gothic UI
// and IPAPGothic, and `requested` where none does.
std::u16string FaceFor(const std::u16string& requested,
                       const std::function<bool(const std::u16string&)>& exists);

}  // namespace tk
