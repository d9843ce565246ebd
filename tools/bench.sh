#!/usr/bin/env bash
# Builds the module and runs the exchange benchmark under Wine; prints its table.
#   tools/bench.sh [--baseline DLL] [MiB...]      (default: 1 4 10 16 64 100 128)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
# The 32-bit build, as most editors load it; the 64-bit one where this
# machine cannot run 32-bit programs.
arch=win32
bash tools/can-run-32bit.sh || arch=win64
bash tools/build.sh $arch > /dev/null
bash tools/wine-run.sh --arch $arch --prefix "$PWD/build/$arch/wineprefix" build/$arch/bin/exchange_bench.exe "$@"
