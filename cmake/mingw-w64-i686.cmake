# Cross-compiling for 32-bit Windows with Debian's mingw-w64: the x86 Tintmark.exe, which runs on
# 32- and 64-bit Windows from XP on.
# The posix thread model is required: the win32 one has no std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(TINTMARK_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TINTMARK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTMARK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TINTMARK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TINTMARK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
