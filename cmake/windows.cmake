# The Windows builds: what the whole tree shares.
#
# The host is an executable that exports its interface. The builds with
# cmake/msvc.cmake make the add-on in the Microsoft C++ ABI, as a
# vendor-built simulator exports its interface: it binds to whichever
# executable loads it, so it needs no executable's name. The MinGW-w64
# builds make the module in GCC's C++ ABI and import the interface by the
# executable's file name: a test build links the module against the
# stand-in host's executable, the Windows test program (tests/windows); a
# release build (MERVEX_BUILD addon) makes the import library from the
# checked-in list of the host's exports for the executable named by
# MERVEX_HOST_EXECUTABLE and builds the add-on alone.

if(MERVEX_MSABI)
  include(${CMAKE_CURRENT_LIST_DIR}/msabi_addon.cmake)
  return()
endif()

if(MERVEX_BUILD STREQUAL "host")
  set(MERVEX_HOST_EXECUTABLE "simhost_win_tests.exe" CACHE STRING
      "File name of the host executable from which the module imports the host interface")
elseif(NOT MERVEX_HOST_EXECUTABLE)
  message(FATAL_ERROR "The GCC-ABI add-on imports the host interface from one executable by its file name: set MERVEX_HOST_EXECUTABLE to the file name of the MinGW-built host's executable, e.g. sim.exe (-DMERVEX_HOST_EXECUTABLE=sim.exe). A simulator built with Microsoft's compiler takes the win32-release or win64-release add-on, which needs no name.")
endif()
if(NOT MERVEX_HOST_EXECUTABLE MATCHES "^[^/\\\\:]+\\.[eE][xX][eE]$")
  message(FATAL_ERROR "MERVEX_HOST_EXECUTABLE must be a bare file name ending in .exe, got \"${MERVEX_HOST_EXECUTABLE}\"")
endif()

add_compile_definitions(NOMINMAX)
# Executables carry their runtime with them: neither Wine nor a user's
# machine has the MinGW runtime DLLs.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -static")

# The host programs also hold the interface's face in the Microsoft C++ ABI
# (sim/msabi), whose exports GNU ld drops: they link with lld, through
# clang's MinGW driver and MinGW's own libraries (the posix thread
# model's libstdc++ needs winpthread). The modules link the same way: GNU ld
# takes the data a GCC-ABI module imports from such a host (VESSEL2's
# tables) for code.
find_program(MERVEX_CLANGXX clang++ REQUIRED)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
  OUTPUT_VARIABLE mervex_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(mervex_libgcc_dir ${mervex_libgcc} DIRECTORY)
foreach(rule CMAKE_CXX_LINK_EXECUTABLE CMAKE_CXX_CREATE_SHARED_MODULE CMAKE_CXX_CREATE_SHARED_LIBRARY)
  string(REPLACE "<CMAKE_CXX_COMPILER>"
    "${MERVEX_CLANGXX} --target=${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32 -fuse-ld=lld -pthread -L${mervex_libgcc_dir}"
    ${rule} "${${rule}}")
endforeach()

# The tests run under Wine, the 32-bit ones with Debian's wine32; on a
# machine that runs no 32-bit code those runs end with MERVEX_WINE_SKIPPED
# and are reported as skipped (scripts/wine-run.sh).
if(MERVEX_BUILD STREQUAL "host")
  set(MERVEX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(MERVEX_WINE_SKIPPED 77)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --i686)
  endif()
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR ${MERVEX_WINE_PREFIX})
endif()

# The host interface as the module links it: the test program's own import
# library, or one made from the checked-in list of the host's exports under
# the executable's name.
add_library(mervex_host_interface INTERFACE)
if(MERVEX_BUILD STREQUAL "host" AND MERVEX_HOST_EXECUTABLE STREQUAL "simhost_win_tests.exe")
  target_link_libraries(mervex_host_interface INTERFACE simhost_win_tests)
else()
  string(REGEX REPLACE "-g\\+\\+.*$" "-dlltool" mervex_dlltool_name "${CMAKE_CXX_COMPILER}")
  find_program(MERVEX_DLLTOOL NAMES ${mervex_dlltool_name} REQUIRED)
  set(mervex_host_def ${PROJECT_SOURCE_DIR}/host/host_interface.def)
  set(mervex_host_implib ${CMAKE_BINARY_DIR}/host_interface/libhost_interface.a)
  add_custom_command(OUTPUT ${mervex_host_implib}
    COMMAND ${MERVEX_DLLTOOL} --input-def ${mervex_host_def}
            --dllname ${MERVEX_HOST_EXECUTABLE} --output-lib ${mervex_host_implib}
    DEPENDS ${mervex_host_def}
    COMMENT "Import library of the host interface for ${MERVEX_HOST_EXECUTABLE}")
  add_custom_target(mervex_host_implib DEPENDS ${mervex_host_implib})
  add_dependencies(mervex_host_interface mervex_host_implib)
  target_link_libraries(mervex_host_interface INTERFACE ${mervex_host_implib})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host_interface)
endif()
