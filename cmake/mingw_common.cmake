# Cross-building for Windows with Debian's mingw-w64 (the posix thread model, for std::thread
# in the tests). Included by the toolchain files, which set clipstamp_mingw_arch first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${clipstamp_mingw_arch})
set(triplet ${clipstamp_mingw_arch}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 and later; a 64-bit time_t on both targets, so captions go on past 2038.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 UNICODE _UNICODE
                        __MINGW_USE_VC2005_COMPAT)
# No DLLs beyond Windows' own: the GCC and C++ runtimes and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and discovery run the programs under wine: Debian's wine64 runs 64-bit programs only,
# its wine (from wine32:i386) 32-bit ones. -DCLIPSTAMP_WINE=PROGRAM names another runner, such
# as scripts/wine32.sh for 32-bit programs on a kernel that cannot execute 32-bit code.
if(clipstamp_mingw_arch STREQUAL x86_64)
  set(wine_loader wine64)
else()
  set(wine_loader wine)
endif()
find_program(CLIPSTAMP_WINE NAMES ${wine_loader} PATHS /usr/lib/wine NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
if(CLIPSTAMP_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CLIPSTAMP_WINE})
endif()
