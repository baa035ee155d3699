#!/usr/bin/env bash
# Provides Qt 6 for 64-bit Windows (MinGW-w64, posix threads) in a cache outside
# the source tree and prints its directory. Later runs reuse it.
# A prebuilt copy in ../shared/qt6-mingw beside the repository is unpacked when
# present; otherwise Qt is built from Debian's own qt6-base source (about
# 40 minutes on two cores, once).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
cache=${TARDELLO_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tardello}
qt=$cache/qt6-mingw
tarball=qt6-mingw/qt-6.4.2-mingw-w64-posix.tar.xz
# shared/ sits beside the clone; a git worktree finds it beside the main clone.
prebuilt=$src/../shared/$tarball
if [ ! -f "$prebuilt" ] && common=$(git -C "$src" rev-parse --path-format=absolute --git-common-dir 2>/dev/null); then
  prebuilt=$(dirname "$common")/../shared/$tarball
fi
toolchain=$src/cmake/mingw-w64-posix.cmake

if [ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "$qt"
  exit 0
fi
mkdir -p "$cache"

if [ -f "$prebuilt" ]; then
  rm -rf "$qt.partial"
  mkdir -p "$qt.partial"
  tar -xJf "$prebuilt" -C "$qt.partial" --strip-components=1
  mv "$qt.partial" "$qt"
  echo "$qt"
  exit 0
fi

# Build from source. Debian's own Qt supplies the host tools (moc, rcc, uic...).
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Source entries for the same archive as the binary ones, with the same keys.
if ! grep -rqs '^deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    $sudo sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee /etc/apt/sources.list.d/tardello-deb-src.list >/dev/null
  fi
fi
$sudo apt-get update -q >&2
$sudo apt-get install -y -q dpkg-dev ninja-build qt6-base-dev qt6-base-dev-tools \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix >&2

work=$cache/qtbase-build
rm -rf "$work"
mkdir -p "$work"
(cd "$work" && apt-get source --download-only qt6-base=6.4.2+dfsg-10 >&2 &&
  dpkg-source --no-check -x qt6-base_6.4.2+dfsg-10.dsc qtbase >&2)

cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$qt.partial" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_concurrent=OFF -DFEATURE_network=OFF \
  -DFEATURE_xml=OFF -DFEATURE_system_zlib=OFF >&2
# tabletevent needs the wintab headers Debian removed; with opengl off, the
# Windows platform plugin of 6.4.2 only compiles with dynamicgl off too.
ninja -C "$work/build" -j"$(nproc)" >&2
rm -rf "$qt.partial"
ninja -C "$work/build" install >&2
mv "$qt.partial" "$qt"
rm -rf "$work"
echo "$qt"
