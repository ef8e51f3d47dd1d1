#include "toolkit/file_dialog.h"

#include <algorithm>

namespace tk {

void SplitInitialFileName(const std::u16string& fileName, std::u16string& folder,
                          std::u16string& name) {
  const std::size_t slash = fileName.find_last_of(u"\\/");
  const std::size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  const bool wildcard = fileName.find_first_of(u"*?", nameStart) != std::u16string::npos;
  if (!wildcard || slash == std::u16string::npos) {
    folder.clear();
    name = fileName;
    return;
  }
  folder = fileName.substr(0, slash);
  if (folder.empty() || folder.back() == u':') folder += u'\\';  // "C:\*.reg" is the root of C:
  name = fileName.substr(nameStart);
}

std::u16string FilterList(const std::u16string& filter) {
  if (filter.empty()) return {};
  std::u16string list = filter;
  std::replace(list.begin(), list.end(), u'|', u'\0');
  list += u'\0';  // with the string's own terminator: the closing empty entry
  return list;
}

}  // namespace tk
