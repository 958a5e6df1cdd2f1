# The Windows build the tests run as under Wine where Wine's 32-bit half cannot run.
set(KESTO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
