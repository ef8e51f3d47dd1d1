// Version numbers shared by tintmark.rc and the program; plain macros so that rc can read them.
#ifndef TINTMARK_RESOURCES_VERSION_H_
#define TINTMARK_RESOURCES_VERSION_H_

#define TINTMARK_VERSION_MAJOR 1
#define TINTMARK_VERSION_MINOR 12
#define TINTMARK_VERSION_PATCH 0
#define TINTMARK_VERSION_REVISION 10

#define TINTMARK_VERSION_TEXT "1.12.0010"
#define TINTMARK_PRODUCT_NAME "Tintmark Version 1.12"
#define TINTMARK_INTERNAL_NAME "Tintmark"
#define TINTMARK_FILE_NAME "Tintmark.exe"

#endif  // TINTMARK_RESOURCES_VERSION_H_
