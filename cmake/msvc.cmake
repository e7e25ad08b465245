# Cross build of the add-on in the Microsoft C++ ABI with clang and
# lld-link, for the processor the including toolchain file names. No
# vendor SDK or runtime is used: the module's few C functions and Windows
# names come from the project's own header set (msabi/include) and import
# libraries, its DLL entry and operator new from msabi/runtime.
set(CMAKE_SYSTEM_NAME Windows)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(mervex_msabi_triple i686-pc-windows-msvc)
else()
  set(mervex_msabi_triple x86_64-pc-windows-msvc)
endif()
set(MERVEX_MSABI ON)

set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${mervex_msabi_triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${mervex_msabi_triple})
set(CMAKE_RC_COMPILER llvm-rc)
set(CMAKE_LINKER lld-link)
# Nothing links before the runtime shim exists.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
