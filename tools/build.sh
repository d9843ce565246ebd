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

build_one() {
  case $1 in
    win32) configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release ;;
    win64) configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release ;;
    native) configure build/native -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
  esac
  cmake --build "build/$1"
}

mkdir -p build
builds=("$@")
((${#builds[@]})) || builds=(win32 win64 native)
for build in "${builds[@]}"; do
  case $build in
    win32|win64|native) ;;
    *) echo "build.sh: unknown build $build" >&2; exit 2 ;;
  esac
done
if ((${#builds[@]} == 1)); then
  build_one "${builds[0]}"
  exit
fi
# Several trees build side by side: one tree's configure step and last links
# leave cores idle that the others use. Each tree's output goes to its log,
# shown when it is done.
pids=()
for build in "${builds[@]}"; do
  build_one "$build" > "build/$build.build.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!builds[@]}"; do
  tree_status=0
  wait "${pids[$i]}" || tree_status=$?
  if ((tree_status == 0)); then
    tail -n 1 "build/${builds[$i]}.build.log"
  else
    cat "build/${builds[$i]}.build.log"
    echo "build.sh: build/${builds[$i]} failed (exit status $tree_status)" >&2
    status=1
  fi
done
exit $status
