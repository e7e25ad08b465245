# The Windows build (MinGW-w64 cross compile): what the whole tree shares.
#
# The host is an executable that exports its interface; the stand-in host's
# executable is the Windows test program (tests/windows), and the module
# links against its import library.

add_compile_definitions(NOMINMAX)
# Executables carry their runtime with them: neither Wine nor a user's
# machine has the MinGW runtime DLLs.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -static")

set(MERVEX_HOST_EXECUTABLE "simhost_win_tests.exe" CACHE STRING
    "File name of the host executable from which the module imports the host interface")
if(NOT MERVEX_HOST_EXECUTABLE MATCHES "^[^/\\\\:]+\\.[eE][xX][eE]$")
  message(FATAL_ERROR "MERVEX_HOST_EXECUTABLE must be a bare file name ending in .exe, got \"${MERVEX_HOST_EXECUTABLE}\"")
endif()
if(NOT MERVEX_TESTS)
  message(FATAL_ERROR "The Windows module links against the stand-in host executable, which is built with the tests: keep MERVEX_TESTS on")
endif()

# Only 64-bit Windows programs run here (the kernel runs no 32-bit code).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MERVEX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${MERVEX_WINE_PREFIX})
endif()

# The host interface as the module links it: the host executable's import
# library, or, for a host of another file name, one made from the same
# exports under that name.
add_library(mervex_host_interface INTERFACE)
if(MERVEX_HOST_EXECUTABLE STREQUAL "simhost_win_tests.exe")
  target_link_libraries(mervex_host_interface INTERFACE simhost_win_tests)
else()
  string(REGEX REPLACE "-g\\+\\+.*$" "-dlltool" mervex_dlltool_name "${CMAKE_CXX_COMPILER}")
  find_program(MERVEX_DLLTOOL NAMES ${mervex_dlltool_name} REQUIRED)
  set(mervex_renamed_implib ${CMAKE_BINARY_DIR}/host_interface/libhost_interface.a)
  add_custom_command(OUTPUT ${mervex_renamed_implib}
    COMMAND ${MERVEX_DLLTOOL} --input-def ${CMAKE_BINARY_DIR}/host_interface/simhost_win_tests.def
            --dllname ${MERVEX_HOST_EXECUTABLE} --output-lib ${mervex_renamed_implib}
    DEPENDS simhost_win_tests
    COMMENT "Import library of the host interface for ${MERVEX_HOST_EXECUTABLE}")
  add_custom_target(mervex_renamed_implib DEPENDS ${mervex_renamed_implib})
  add_dependencies(mervex_host_interface mervex_renamed_implib)
  target_link_libraries(mervex_host_interface INTERFACE ${mervex_renamed_implib})
endif()
