# Cross build for x86_64 Windows in the Microsoft C++ ABI.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/msvc.cmake)
