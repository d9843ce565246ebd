#!/usr/bin/env bash
# The main job: builds Tuvex.dll and shows its filters at work on a sample
# text of Japanese and ASCII lines, through tuvex_host under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
bash tools/build.sh win32 > /dev/null
trap 'bash tools/stop-wine.sh build/win32' EXIT

host() { bash tools/wine-run.sh --prefix "$PWD/build/win32/wineprefix" build/win32/bin/tuvex_host.exe "$@"; }
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
