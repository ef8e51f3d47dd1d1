// The full path of a name given on the command line, taken before the file dialogs move the
// current folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/win32/windows_version.h"
#include "files/win32/win32_file_access.h"

namespace {

TEST(FullPath, IsTheNameInTheCurrentFolderAtAnyLengthTheSystemHas) {
  wchar_t current[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  ASSERT_GT(length, 0u);
  std::u16string folder(current, current + length);
  if (!folder.ends_with(u'\\')) folder += u'\\';

  EXPECT_EQ(files::FullPath(u"colours.reg"), folder + u"colours.reg");
  EXPECT_EQ(files::FullPath(u"sub\\..\\colours.reg"), folder + u"colours.reg");
  // Windows 95, 98 and ME have no path over MAX_PATH: the name comes back as given.
  const std::u16string deep = std::u16string(300, u'd') + u"\\colours.reg";
  EXPECT_EQ(files::FullPath(deep), common::win32::IsWindows9x() ? deep : folder + deep);
}

}  // namespace
