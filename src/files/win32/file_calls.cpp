#include "files/win32/file_calls.h"

#include <optional>

#include "common/win32/ansi_text.h"
#include "common/win32/wide.h"
#include "common/win32/windows_version.h"

namespace files {

namespace {

using common::win32::WidePtr;

class WideFiles final : public FileCalls {
 public:
  HANDLE Open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition,
              DWORD attributes) const override {
    return CreateFileW(WidePtr(path), access, share, nullptr, disposition, attributes, nullptr);
  }
  DWORD Attributes(const std::u16string& path) const override {
    return GetFileAttributesW(WidePtr(path));
  }
  BOOL Move(const std::u16string& from, const std::u16string& to, DWORD flags) const override {
    return MoveFileExW(WidePtr(from), WidePtr(to), flags);
  }
  BOOL Replace(const std::u16string& target, const std::u16string& replacement,
               const std::u16string& backup) const override {
    return ReplaceFileW(WidePtr(target), WidePtr(replacement), WidePtr(backup),
                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
  }
  BOOL Delete(const std::u16string& path) const override { return DeleteFileW(WidePtr(path)); }
  std::u16string FullPath(const std::u16string& path) const override {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length =
          GetFullPathNameW(WidePtr(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
      if (length == 0) return path;
      if (length < full.size()) return common::win32::FromWide(full.data(), length);
      full.resize(length);
    }
  }
};

#if defined(TINTMARK_ANSI_ROAD)

using common::win32::FromAnsi;
using common::win32::ToAnsiExactly;

// A path in the ANSI code page, or the file error of a name that cannot be written there.
std::optional<std::string> AnsiPath(const std::u16string& path) {
  std::optional<std::string> ansi = ToAnsiExactly(path);
  if (!ansi) SetLastError(ERROR_INVALID_NAME);
  return ansi;
}

class AnsiFiles final : public FileCalls {
 public:
  HANDLE Open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition,
              DWORD attributes) const override {
    const auto name = AnsiPath(path);
    if (!name) return INVALID_HANDLE_VALUE;
    return CreateFileA(name->c_str(), access, share, nullptr, disposition, attributes, nullptr);
  }
  DWORD Attributes(const std::u16string& path) const override {
    const auto name = AnsiPath(path);
    return name ? GetFileAttributesA(name->c_str()) : INVALID_FILE_ATTRIBUTES;
  }
  BOOL Move(const std::u16string& from, const std::u16string& to, DWORD flags) const override {
    const auto source = AnsiPath(from), target = AnsiPath(to);
    return source && target && MoveWithoutMoveFileEx(*source, *target, flags);
  }
  BOOL Replace(const std::u16string&, const std::u16string&, const std::u16string&) const override {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  BOOL Delete(const std::u16string& path) const override {
    const auto name = AnsiPath(path);
    return name && DeleteFileA(name->c_str());
  }
  std::u16string FullPath(const std::u16string& path) const override {
    const auto name = AnsiPath(path);
    if (!name) return path;
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name->c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? path : FromAnsi(std::string_view(full, length));
  }

 private:
  // Windows 95, 98 and ME have no MoveFileEx (its stub's error code is not documented), so this
  // road never calls it. Replacing a file takes three renames, and at every moment the old file or
  // the new one is there: the old file steps aside to a name of its own, the new one takes its
  // place, and only then is the old one deleted; a failure in between puts the old one back.
  static BOOL MoveWithoutMoveFileEx(const std::string& from, const std::string& to, DWORD flags) {
    if (MoveFileA(from.c_str(), to.c_str())) return TRUE;
    const DWORD existing = GetFileAttributesA(to.c_str());
    if (!(flags & MOVEFILE_REPLACE_EXISTING) || existing == INVALID_FILE_ATTRIBUTES) return FALSE;
    // As MoveFileEx, which replaces files only: a folder is never stepped aside.
    if (existing & FILE_ATTRIBUTE_DIRECTORY) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    const std::string aside = from + ".old";
    if (!MoveFileA(to.c_str(), aside.c_str())) return FALSE;
    if (!MoveFileA(from.c_str(), to.c_str())) {
      const DWORD error = GetLastError();
      MoveFileA(aside.c_str(), to.c_str());
      SetLastError(error);
      return FALSE;
    }
    DeleteFileA(aside.c_str());
    return TRUE;
  }
};

#endif

}  // namespace

const FileCalls& WideOrAnsiFiles() {
  static const WideFiles wide;
#if defined(TINTMARK_ANSI_ROAD)
  static const AnsiFiles ansi;
  static const FileCalls& calls =
      common::win32::IsWindows9x() ? static_cast<const FileCalls&>(ansi) : wide;
  return calls;
#else
  return wide;
#endif
}

}  // namespace files
