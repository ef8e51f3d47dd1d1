#pragma once
// The file functions whose W and A forms differ, with paths as UTF-16. On Windows 95, 98 and ME the
// 32-bit program takes the A functions and the system's ANSI code page, and refuses a path that
// code page cannot hold (ERROR_INVALID_NAME) rather than open another file under a guessed name;
// everywhere else the W functions. The road is chosen once, in WideOrAnsiFiles().

#include <windows.h>

#include <string>

namespace files {

class FileCalls {
 public:
  virtual ~FileCalls() = default;
  virtual HANDLE Open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition,
                      DWORD attributes) const = 0;
  virtual DWORD Attributes(const std::u16string& path) const = 0;
  virtual BOOL Move(const std::u16string& from, const std::u16string& to, DWORD flags) const = 0;
  // ReplaceFile, keeping the target's security and attributes where the system can.
  virtual BOOL Replace(const std::u16string& target, const std::u16string& replacement,
                       const std::u16string& backup) const = 0;
  virtual BOOL Delete(const std::u16string& path) const = 0;
  // `path` made full against the current folder; `path` itself where it cannot be.
  virtual std::u16string FullPath(const std::u16string& path) const = 0;
};

const FileCalls& WideOrAnsiFiles();

}  // namespace files
