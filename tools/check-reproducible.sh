#!/usr/bin/env bash
# Builds the module and the host program in fresh build folders and checks
# that the files are byte for byte the same: two fresh builds, or, given a
# build folder of the same architecture, one fresh build against that
# folder's own (a build elsewhere, and at another time, gives the same bytes).
#   tools/check-reproducible.sh [win32|win64] [BUILD_DIR]     (default: win32)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
arch=${1:-win32}
reference=${2:-}
case $arch in
  win32) toolchain=cmake/mingw-i686.cmake ;;
  win64) toolchain=cmake/mingw-x86_64.cmake ;;
  *) echo "check-reproducible: unknown architecture $arch" >&2; exit 2 ;;
esac
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}

sums=()
copies=(first second)
if [[ -n $reference ]]; then
  sums+=("$(cd "$reference/bin" && sha256sum Tuvex.dll tuvex_host.exe)")
  copies=(fresh)
fi
for copy in "${copies[@]}"; do
  dir=build/reproducible-$arch-$copy
  rm -rf "$dir"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$dir" --target Tuvex tuvex_host > /dev/null
  sums+=("$(cd "$dir/bin" && sha256sum Tuvex.dll tuvex_host.exe)")
  rm -rf "$dir"
done
if [[ ${sums[0]} != "${sums[1]}" ]]; then
  printf 'check-reproducible: the two builds differ\n%s\n---\n%s\n' "${sums[0]}" "${sums[1]}" >&2
  exit 1
fi
printf 'check-reproducible: %s builds are identical\n%s\n' "$arch" "${sums[0]}"
