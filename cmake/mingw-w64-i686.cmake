# The shipped Windows build: 32-bit, as the platform has always been, and what the tests run as
# under Wine wherever Wine's 32-bit half runs.
set(KESTO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# Floating point in SSE2 registers, as the x86_64 build does: the x87 unit's 80-bit intermediates
# could round a price or a decimal differently from the build the tests run where Wine has no
# 32-bit half. Every processor Windows 7 and later runs on has SSE2.
string(APPEND CMAKE_C_FLAGS_INIT " -msse2 -mfpmath=sse")
string(APPEND CMAKE_CXX_FLAGS_INIT " -msse2 -mfpmath=sse")
