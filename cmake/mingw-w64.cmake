# Shared part of the Windows cross builds with mingw-w64 (POSIX thread model, so std::thread
# works). Included by a toolchain file that sets KESTO_MINGW_ARCH first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTO_MINGW_ARCH})

set(triplet ${KESTO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run from a bare folder: libgcc, libstdc++ and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Windows headers: the W functions by default, and nothing older than Windows 7.
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601")
