# The Windows add-on as a simulator user unpacks it into the simulator's
# folder: `cmake --install` lays it out. The add-on in the Microsoft C++ ABI
# loads into any simulator of its processor built with Microsoft's
# compiler, so `cpack -G ZIP` archives it for players:
# Mervex-<version>-win32.zip or -win64.zip. The GCC-ABI add-on imports its
# host by the executable's file name, so it is installed into the host it
# was built for and gets no archive that could be taken for the other.
install(TARGETS Mervex LIBRARY DESTINATION Modules)
install(FILES ${PROJECT_SOURCE_DIR}/meshes/Daskern/Mervex.obj DESTINATION Meshes/Daskern)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/scenarios/ DESTINATION Scenarios/Mervex FILES_MATCHING PATTERN "*.scn")
install(FILES ${PROJECT_SOURCE_DIR}/docs/Mervex.md DESTINATION Doc)

if(NOT MERVEX_MSABI)
  return()
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP)
# The archive's folders go straight into the simulator's own.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mervex spacecraft add-on")
include(CPack)
