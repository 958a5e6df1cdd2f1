# The shipped Windows build: 32-bit, as the platform has always been, and what the tests run as
# under Wine wherever Wine's 32-bit half runs.
set(KESTO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
