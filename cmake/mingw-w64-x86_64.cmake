# The Windows build the tests run as under Wine: this machine's kernel runs no 32-bit code.
# Tests start through Wine's 64-bit loader with a throwaway prefix inside the build folder.
set(KESTO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
