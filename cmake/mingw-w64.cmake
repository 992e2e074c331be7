# What both mingw-w64 toolchain files share; they set COLFIX_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first. Debian's win32 threads variant: its C++ runtime
# locks and keeps per-thread data with Windows' own calls, where the posix
# variant links winpthread (about 32 KB of Colfix.exe) into a program that runs
# one thread.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${COLFIX_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${COLFIX_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${COLFIX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${COLFIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
