# Toolchain for 32-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(clipstamp_mingw_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
