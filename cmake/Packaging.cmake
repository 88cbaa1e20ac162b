# The portable zip of one architecture: Pelo.exe, PelomiUtil.dll, the README,
# the licence and the sample dictionary, all at the top of one folder.
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
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . OPTIONAL)
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
