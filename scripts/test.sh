#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${TARDELLO_BUILD:-$src/build}

"$src/scripts/deps.sh" --tests
cmake -S "$src" -B "$build"
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
