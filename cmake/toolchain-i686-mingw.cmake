# Cross-builds the 32-bit Windows program with Debian's i686 mingw-w64.
set(COLFIX_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
