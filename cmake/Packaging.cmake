# The portable zip of one architecture: Pelo.exe, PelomiUtil.dll, the user's
# guide README.txt, the licence and the sample dictionary, all at the top of
# one folder.
#
#   cmake --build <tree> --target package   ->  <tree>/Pelo-1.0.3-win64.zip

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PELO_ARCH win64)
else()
  set(PELO_ARCH win32)
endif()

# Only the programs: the DLL's import library stays out of the zip.
install(TARGETS Pelo PelomiUtil RUNTIME DESTINATION .)
# OPTIONAL: a tree configured before one of these exists still packages.
# The user's guide, docs/README.txt (UTF-8, LF in the repository), goes into
# the zip as UTF-8 with a byte-order mark and CR LF line ends: Notepad shows
# that correctly on every Windows and in every system locale, while Shift-JIS
# (CP932) would be garbled wherever the system code page is not 932, and a
# UTF-8 file without the mark is read as the ANSI code page by Notepad before
# Windows 10 1903.
set(guide ${CMAKE_SOURCE_DIR}/docs/README.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide})
string(ASCII 239 187 191 utf8_bom)
file(READ ${guide} guide_text)
string(REPLACE "\n" "\r\n" guide_text "${guide_text}")
file(WRITE ${CMAKE_BINARY_DIR}/README.txt.new "${utf8_bom}${guide_text}")
file(COPY_FILE ${CMAKE_BINARY_DIR}/README.txt.new ${CMAKE_BINARY_DIR}/README.txt ONLY_IF_DIFFERENT)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/sample/dic.txt DESTINATION . OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pelo)
set(CPACK_PACKAGE_VENDOR Quilbax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kaomoji and AA palette for Windows")
set(CPACK_PACKAGE_FILE_NAME Pelo-${PROJECT_VERSION}-${PELO_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES TRUE)  # the build keeps its debug information, the zip does not
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
  set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
endif()
include(CPack)
