# Cross-compiling for 32-bit Windows with Debian's mingw-w64: the x86 Tintmark.exe, which runs on
# every 32- and 64-bit Windows from Windows 95 and NT 4.0 on, on a processor with CMOV (Pentium Pro
# and later).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TINTMARK_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
