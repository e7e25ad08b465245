# Cross build for i686 Windows. Arithmetic in SSE2, as on x86_64 and in
# the vendor-ABI builds, not in the x87 unit, whose wider registers change
# the last digits of what the host computes and saves.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
