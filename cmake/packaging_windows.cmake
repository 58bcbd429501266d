# The Windows zip: `cpack` in the build folder makes clipstamp-<version>-win64.zip (or -win32),
# holding clipstamp.exe, a README for Windows users (with Windows line ends) and the licence.
configure_file(${PROJECT_SOURCE_DIR}/res/windows/README.txt.in ${PROJECT_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION . COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT cli)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME clipstamp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
