#!/usr/bin/env bash
# Builds the 32- and 64-bit module and tools and makes a release zip of each:
# build/win32/package/Tuvex-VERSION-win32.zip and build/win64/package/...-win64.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
bash tools/build.sh win32 win64 > /dev/null
bash tools/make-package.sh build/win32
bash tools/make-package.sh build/win64
