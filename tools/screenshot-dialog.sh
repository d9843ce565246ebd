#!/usr/bin/env bash
# Takes a picture of the message dialog showing a Japanese message, as a user
# sees it under Wine on a virtual display, and writes it as a PNG.
#
#   screenshot-dialog.sh [BUILD_DIR] [OUTPUT.png]
#
# BUILD_DIR is a Windows build (default build/win32) holding
# bin/tuvex_dialog_sample.exe; OUTPUT defaults to docs/dialog.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
width=480 height=240
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
# A settings file beside the program: a larger font than the default 9
# pixels, so the text reads well in the picture. The dialog has no owner
# and opens at the top-left corner of the screen.
printf '[DIALOG]\r\nfontSize=16\r\nwidth=%d\r\nheight=%d\r\n' "$width" "$height" > "$settings/Tuvex.conf"
bash "$root/tools/screenshot-sample.sh" "${1:-$root/build/win32}" tuvex_dialog_sample Tuvex "${width}x${height}" \
  "${2:-$root/docs/dialog.png}" "$settings/Tuvex.conf"
