#!/usr/bin/env bash
# The main job: builds Tuvex.dll and shows its filters at work on a sample
# text of Japanese and ASCII lines, through tuvex_host under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
# The 32-bit build, as most editors load it; the 64-bit one where this
# machine cannot run 32-bit programs.
arch=win32
bash tools/can-run-32bit.sh || arch=win64
bash tools/build.sh $arch > /dev/null
trap 'bash tools/stop-wine.sh build/$arch' EXIT

host() { bash tools/wine-run.sh --arch $arch --prefix "$PWD/build/$arch/wineprefix" build/$arch/bin/tuvex_host.exe "$@"; }
sample='Z:'$(sed 's|/|\\|g' <<< "$PWD/samples/sample.txt")

show() { printf '\n$ tuvex_host %s\n' "$*"; host "$@" || echo "(exit status $?)"; }

echo "The sample text:"; cat samples/sample.txt
show list
# Wine's find.exe keeps the lines that hold a text.
show filter Tuvex --param 'find|"日本"' --in "$sample"
show filter Tuvex --param 'find|"an"' --in "$sample"
# cmd /u writes UTF-16, which TuvexW hands back unchanged.
show filter TuvexW --param 'cmd|/u /c echo 日本語 and ASCII' --in "$sample"
show run find '"e"' --in "$sample"
