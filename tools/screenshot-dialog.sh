#!/usr/bin/env bash
# Takes a picture of the message dialog showing a Japanese message, as a user
# sees it under Wine on a virtual display, and writes it as a PNG.
#
#   screenshot-dialog.sh [BUILD_DIR] [OUTPUT.png]
#
# BUILD_DIR is a Windows build (default build/win32) holding
# bin/tuvex_dialog_sample.exe; OUTPUT defaults to docs/dialog.png. The Wine
# prefix is a private one in BUILD_DIR, so the tests' prefix is left as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
output=${2:-$root/docs/dialog.png}
base=$build/screenshot-prefix
prefix=$base-win32
run=(bash "$root/tools/wine-run.sh" --prefix "$base")

width=480 height=240
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
# The close box's glyph is in Wine's Marlett font (fonts-wine), which this
# Wine does not find in its data folder: the prefix gets a copy.
marlett=/usr/share/wine/fonts/marlett.ttf
[[ -f $marlett ]] && cp "$marlett" "$prefix/drive_c/windows/Fonts/"

# A settings file beside the program: a larger font than the default 9
# pixels, so the text reads well in the picture.
cp "$build/bin/tuvex_dialog_sample.exe" "$work/"
printf '[DIALOG]\r\nfontSize=16\r\nwidth=%d\r\nheight=%d\r\n' "$width" "$height" > "$work/Tuvex.conf"

"${run[@]}" "$work/tuvex_dialog_sample.exe" 10 &
sample_pid=$!
display=$(cat "$prefix.display")
for _ in $(seq 100); do
  xwininfo -root -tree -display "$display" 2>/dev/null | grep -q '"Tuvex"' && break
  sleep 0.2
done
sleep 2  # let it paint

# The dialog opens at the top-left corner of the screen (it has no owner).
mkdir -p "$(dirname "$output")"
xwd -root -silent -display "$display" | convert xwd:- -crop "${width}x${height}+0+0" +repage "png:$output"
wait "$sample_pid" || true
sample_pid=
echo "screenshot-dialog: wrote $output"
