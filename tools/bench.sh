#!/usr/bin/env bash
# Builds the module and runs the exchange benchmark under Wine; prints its table.
#   tools/bench.sh [--baseline DLL] [MiB...]      (default: 1 4 10 16 64 100 128)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
bash tools/build.sh win32 > /dev/null
bash tools/wine-run.sh --prefix "$PWD/build/win32/wineprefix" build/win32/bin/exchange_bench.exe "$@"
