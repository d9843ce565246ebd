#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: a private
# prefix inside the build tree (made on first use), a Japanese Windows locale
# (ANSI code page 932), a wineserver kept alive between programs so each one
# starts fast, and a virtual X display for programs that open windows.
#
#   wine-run.sh [--arch win32|win64] [--prefix DIR] PROGRAM.exe [ARGS...]
#   wine-run.sh [--arch win32|win64] --prefix DIR --prepare
#
# The options come in any order, before the program. The prefix is DIR-ARCH (DIR defaults to "wineprefix" beside the program;
# ARCH to win32). --prepare makes the prefix and starts its display and
# server, and runs nothing: making a prefix takes Wine half a minute, most of
# it waiting, which a build beside it can use.
set -euo pipefail

usage="usage: wine-run.sh [--arch win32|win64] [--prefix DIR] PROGRAM.exe [ARGS...] | --prefix DIR --prepare"
arch=win32
base=
prepare=0
while (($#)); do
  case $1 in
    --arch) arch=${2:?$usage}; shift 2 ;;
    --prefix) base=${2:?$usage}; shift 2 ;;
    --prepare) prepare=1; shift ;;
    -h|--help) echo "$usage"; exit 0 ;;
    -*) echo "wine-run.sh: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
done
if ((prepare)) && { (($#)) || [[ -z $base ]]; } || ((!prepare && $# == 0)); then
  echo "$usage" >&2; exit 2
fi
case $arch in
  win32|win64) ;;
  *) echo "wine-run.sh: unknown architecture $arch" >&2; echo "$usage" >&2; exit 2 ;;
esac
if ((!prepare)); then
  program=$1; shift
  [[ -n $base ]] || base=$(cd "$(dirname "$program")" && pwd)/wineprefix
fi
mkdir -p "$(dirname "$base")"
prefix=$base-$arch

export WINEPREFIX=$prefix WINEARCH=$arch
wine=wine
if [[ $arch == win64 ]]; then
  # A 64-bit prefix runs 64-bit programs through the 64-bit loader.
  wine=/usr/lib/wine/wine64
  export WINELOADER=$wine
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

# One virtual display per prefix, started on first use and left running.
display_file=$prefix.display
start_display() {
  local number_file=$prefix.display-number number
  rm -f "$number_file"
  # Xvfb takes a free display itself and writes its number once it listens:
  # two prefixes that start at once cannot end up on the same display, where
  # one's windows would take the focus and the cursor from the other's.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$number_file" \
    >/dev/null 2>&1 < /dev/null 9>&- &
  local pid=$!
  echo $pid > "$prefix.xvfb-pid"
  while kill -0 $pid 2>/dev/null; do
    number=$(head -n 1 "$number_file" 2>/dev/null || true)
    if [[ $number =~ ^[0-9]+$ ]]; then
      echo ":$number" > "$display_file"
      return
    fi
    sleep 0.1
  done
  echo "wine-run: could not start Xvfb" >&2; exit 1
}

# The lock is not handed to the programs started under it (9>&-): one that
# outlived a failed run would hold it for the next.
exec 9> "$prefix.lock"
flock 9
if [[ -z ${TUVEX_DISPLAY:-} ]]; then
  if [[ ! -s $display_file ]] || ! xdpyinfo -display "$(cat "$display_file")" >/dev/null 2>&1; then
    start_display
  fi
  export DISPLAY=$(cat "$display_file")
else
  export DISPLAY=$TUVEX_DISPLAY
fi
if [[ ! -f $prefix/system.reg ]]; then
  "$wine" wineboot -i >/dev/null 2>&1 9>&- || true
  wineserver -w
fi
# The virtual display has no window manager. Wine draws the frames itself
# when its windows are not "managed": otherwise every window that closes
# waits 2 s for a manager that never answers. Set in prefixes made before
# this rule too.
if ! grep -q '^"Managed"="N"' "$prefix/user.reg" 2>/dev/null; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&- || true
  wineserver -w
fi
# Wine shows a crash dialog for a program's unhandled exception whatever its
# job or error mode asks for; Windows ends a program in a job that dies on
# one at once. Without the dialog, Wine's debugger ends it after a backtrace.
if ! grep -q '^"ShowCrashDialog"=dword:00000000' "$prefix/user.reg" 2>/dev/null; then
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
fi
# Starts the server and Wine's own background programs apart from this one,
# so that none of them holds the caller's output open after the program
# ends; keeps them up for a minute after the last program, so that the next
# test program does not pay for their start.
if timeout 0.5 wineserver -w; then
  "$wine" wineboot >/dev/null 2>&1 < /dev/null 9>&- || true
fi
wineserver -p60 >/dev/null 2>&1 < /dev/null 9>&- || true
flock -u 9
exec 9>&-

((prepare)) && exit 0
exec "$wine" "$program" "$@"
