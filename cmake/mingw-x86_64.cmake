# Toolchain for 64-bit Windows: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(clipstamp_mingw_arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
