# Sourced by the scripts that build (bash): every build they make uses Ninja and the compiler
# cache. The cache (ccache, in ~/.cache/ccache unless CCACHE_DIR says otherwise) is kept between
# runs on this machine and serves clones in other folders too: paths below the clone's top are
# taken relative to it, and the folder a file is compiled in is left out of the look-up.
# Needs `top`, the clone's top folder.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
# The compiler's own list of the files it read (Ninja asks for it anyway) instead of a second
# run of the preprocessor on every miss.
export CCACHE_DEPEND=${CCACHE_DEPEND:-true}

# configure_build SOURCE-FOLDER BUILD-FOLDER [CMAKE ARGUMENTS...]
# A build folder that another generator made is configured anew rather than refused.
configure_build() {
  local source=$1 build=$2
  shift 2
  if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_C_COMPILER_LAUNCHER=ccache \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@" >/dev/null
}

# The scripts that make downloads: what they say when they cannot go on.
fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}
