#pragma once
// Files of the running Windows session through kernel32.

#include "files/file_access.h"

namespace files {

class Win32FileAccess final : public FileAccess {
 public:
  Status ReadWhole(const std::u16string& path, std::size_t limit, std::string& bytes) override;
  Status ReplaceWhole(const std::u16string& path, std::string_view bytes) override;
};

// `path` made full against the current folder; `path` itself where it cannot be.
std::u16string FullPath(const std::u16string& path);

}  // namespace files
