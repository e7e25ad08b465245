# Cross build for i686 Windows in the Microsoft C++ ABI.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/msvc.cmake)
