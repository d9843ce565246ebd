#!/usr/bin/env bash
# Configures and builds: build/win32 and build/win64 (the module, its tools
# and its tests for 32- and 64-bit Windows, with mingw-w64) and build/native
# (the pure code and its tests, for this machine, under sanitizers).
#   tools/build.sh [win32] [win64] [native]     (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Configures `dir` with the given options unless it was configured with the
# same options and the same toolchain file already. The options and the
# toolchain file's content are kept beside the build folder; when either
# changed, the folder's cache is dropped, so that nothing of the old
# configuration stays behind.
configure() {
  local dir=$1; shift
  local stamp=$dir.configure.stamp wanted option
  wanted=$(printf '%s\n' "$@")
  for option in "$@"; do
    if [[ $option == -DCMAKE_TOOLCHAIN_FILE=* ]]; then
      wanted+=$'\n'$(sha256sum "${option#-DCMAKE_TOOLCHAIN_FILE=}")
    fi
  done
  if [[ -f $dir/build.ninja && -f $stamp && $(cat "$stamp") == "$wanted" ]]; then
    return
  fi
  if [[ -f $dir/CMakeCache.txt ]]; then
    echo "build.sh: $dir was configured otherwise; configuring it afresh"
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  fi
  rm -f "$stamp"
  cmake -S . -B "$dir" -G Ninja "$@" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
  printf '%s' "$wanted" > "$stamp"
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
