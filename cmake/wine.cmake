# Test programs of a Windows build run under Wine, in a throwaway prefix inside the build
# folder, without Wine's debug output. The loader matches the build's target: Wine's 32-bit
# loader (Debian's wine32:i386) for the shipped i686 build, its 64-bit one for x86_64. The
# prefix is a 64-bit one either way, which runs 32-bit programs too.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KESTO_WINE_LOADER /usr/lib/wine/wine)
else()
  set(KESTO_WINE_LOADER /usr/lib/wine/wine64)
endif()
set(KESTO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${KESTO_WINE_PREFIX} WINEDEBUG=-all ${KESTO_WINE_LOADER})
