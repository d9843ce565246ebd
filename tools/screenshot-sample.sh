#!/usr/bin/env bash
# Runs one of the picture-taking programs (tools/screenshots) under Wine on a
# virtual display and captures the top-left corner of the screen as a PNG.
#
#   screenshot-sample.sh BUILD_DIR PROGRAM WINDOW_NAME WIDTHxHEIGHT OUTPUT.png [FILE...]
#
# PROGRAM is BUILD_DIR/bin/PROGRAM.exe; it runs from a folder of its own with
# the FILEs beside it. The capture is taken once a window named WINDOW_NAME
# is on screen and has had time to paint. The Wine prefix is a private one in
# BUILD_DIR, so the tests' prefix is left as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
program=$2 window=$3 size=$4 output=$5
shift 5
base=$build/screenshot-prefix
prefix=$base-win32
run=(bash "$root/tools/wine-run.sh" --prefix "$base")

work=$(mktemp -d)
sample_pid=
cleanup() {
  [[ -n $sample_pid ]] && kill "$sample_pid" 2>/dev/null
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  [[ -s $prefix.xvfb-pid ]] && kill "$(cat "$prefix.xvfb-pid")" 2>/dev/null
  rm -rf "$work" "$prefix.xvfb-pid" "$prefix.display"
}
trap cleanup EXIT

# Wine draws the frame and caption itself, as there is no window manager.
# Wine has no "MS UI Gothic" and would fall back to the first font it finds
# with Japanese glyphs; naming IPA Gothic (fonts-ipafont-gothic) makes the
# picture the same on every machine.
"${run[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null
"${run[@]}" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAGothic' /f > /dev/null
# The close box's and the submenu arrow's glyphs are in Wine's Marlett font
# (fonts-wine), which this Wine does not find in its data folder: the prefix
# gets a copy.
marlett=/usr/share/wine/fonts/marlett.ttf
[[ -f $marlett ]] && cp "$marlett" "$prefix/drive_c/windows/Fonts/"

cp "$build/bin/$program.exe" "$work/"
(($#)) && cp "$@" "$work/"

"${run[@]}" "$work/$program.exe" 10 &
sample_pid=$!
display=$(cat "$prefix.display")
for _ in $(seq 100); do
  xwininfo -root -tree -display "$display" 2>/dev/null | grep -q "\"$window\"" && break
  sleep 0.2
done
sleep 3  # let it paint (and the menu sample open its submenu)

mkdir -p "$(dirname "$output")"
xwd -root -silent -display "$display" | convert xwd:- -crop "$size+0+0" +repage "png:$output"
wait "$sample_pid" || true
sample_pid=
echo "screenshot: wrote $output"
