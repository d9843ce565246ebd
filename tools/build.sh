#!/usr/bin/env bash
# Configures and builds: build/win32 and build/win64 (the module, its tools
# and its tests for 32- and 64-bit Windows, with mingw-w64) and build/native
# (the pure code and its tests, for this machine, under sanitizers).
#   tools/build.sh [win32] [win64] [native]     (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

configure() {
  local dir=$1; shift
  [[ -f $dir/build.ninja ]] || cmake -S . -B "$dir" -G Ninja "$@" > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
}

mkdir -p build
builds=("$@")
((${#builds[@]})) || builds=(win32 win64 native)
for build in "${builds[@]}"; do
  case $build in
    win32) configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release ;;
    win64) configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release ;;
    native) configure build/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
    *) echo "build.sh: unknown build $build" >&2; exit 2 ;;
  esac
  cmake --build "build/$build"
done
