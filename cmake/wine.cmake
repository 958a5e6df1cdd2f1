# Test programs of an x86_64 Windows build run under Wine's 64-bit loader, in a throwaway
# prefix inside the build folder, without Wine's debug output.
set(KESTO_WINE_LOADER /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader for x86_64 Windows programs")
set(KESTO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${KESTO_WINE_PREFIX} WINEDEBUG=-all ${KESTO_WINE_LOADER})
