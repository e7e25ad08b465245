# The add-on in the Microsoft C++ ABI (toolchain cmake/msvc.cmake): the
# module compiled against the project's header set, linked by lld-link with
# the runtime shim and import libraries made from .def files, and nothing
# else: no vendor runtime, no default libraries.
if(NOT MERVEX_BUILD STREQUAL "addon")
  message(FATAL_ERROR "The Microsoft-ABI builds make the add-on alone: configure them with -DMERVEX_BUILD=addon (the win32-release and win64-release presets do). The stand-in host and its tests build with MinGW-w64 (the mingw64 and mingw32 presets), which fly this add-on under Wine.")
endif()

find_program(MERVEX_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)
find_program(MERVEX_LLD_LINK NAMES lld-link lld-link-14 REQUIRED)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(mervex_dlltool_machine i386)
else()
  set(mervex_dlltool_machine i386:x86-64)
endif()

add_compile_options(-fno-exceptions -fno-rtti -nostdinc)
include_directories(SYSTEM ${PROJECT_SOURCE_DIR}/msabi/include)
# No vendor libraries: what the DLL links is named below.
set(CMAKE_C_STANDARD_LIBRARIES "")
set(CMAKE_CXX_STANDARD_LIBRARIES "")
set(CMAKE_LINK_DEF_FILE_FLAG "/DEF:")
set(CMAKE_CXX_CREATE_SHARED_MODULE
  "${MERVEX_LLD_LINK} /nologo /dll /entry:_DllMainCRTStartup /nodefaultlib /opt:ref /out:<TARGET> <LINK_FLAGS> <OBJECTS> <LINK_LIBRARIES>")

# mervex_import_library(<target> <.def> <dll name>): an import library
# target made from a .def file by llvm-dlltool.
function(mervex_import_library target def dll)
  set(lib ${CMAKE_BINARY_DIR}/import/${target}.lib)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${MERVEX_LLVM_DLLTOOL} -m ${mervex_dlltool_machine} -k -d ${def} -D ${dll} -l ${lib}
    DEPENDS ${def}
    COMMENT "Import library for ${dll}")
  add_custom_target(${target}_implib DEPENDS ${lib})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_implib)
  target_link_libraries(${target} INTERFACE ${lib})
endfunction()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/import)

# The host interface, from the checked-in list of what a vendor-built host
# exports for this processor. Its functions are delay-loaded: the system
# loader leaves them alone, and the runtime (msabi/runtime/host_binding.cpp)
# binds every one at attach to the exports of the program that loads the
# DLL, whatever its file name. The import library's DLL name is a
# placeholder that nothing ever looks up.
set(MERVEX_HOST_PLACEHOLDER host.exe)
mervex_import_library(mervex_host_interface
  ${PROJECT_SOURCE_DIR}/host/host_interface_msabi_${CMAKE_SYSTEM_PROCESSOR}.def ${MERVEX_HOST_PLACEHOLDER})
target_link_options(mervex_host_interface INTERFACE /delayload:${MERVEX_HOST_PLACEHOLDER})
