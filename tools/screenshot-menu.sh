#!/usr/bin/env bash
# Takes a picture of the command popup of the guides' worked example, open
# on its submenu, as a user sees it under Wine on a virtual display.
#
#   screenshot-menu.sh [BUILD_DIR] [OUTPUT.png]
#
# BUILD_DIR is a Windows build (default build/win32) holding
# bin/tuvex_menu_sample.exe; OUTPUT defaults to docs/menu.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/screenshot-sample.sh" "${1:-$root/build/win32}" tuvex_menu_sample "Tuvex menu sample" 276x104 \
  "${2:-$root/docs/menu.png}"
