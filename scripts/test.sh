#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${TARDELLO_BUILD:-$src/build}

"$src/scripts/deps.sh" --tests
# Compiled objects are shared between clones and runs; paths inside the clone are
# taken as relative and the build folder is left out of the key, so a clone
# elsewhere finds them too (its debugging information then names the first folder).
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$src CCACHE_NOHASHDIR=true
fi
cmake -S "$src" -B "$build"
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
