# The same Windows program and its tests as 64-bit code, for machines whose
# kernel cannot run 32-bit code (and so cannot run 32-bit Wine): the tests then
# run under 64-bit Wine.
set(COLFIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
