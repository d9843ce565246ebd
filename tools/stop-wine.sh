#!/usr/bin/env bash
# Stops the wineservers and virtual displays that wine-run.sh started for the
# prefixes under the given build folders.
for build in "$@"; do
  for prefix in "$build"/wineprefix*-win32 "$build"/wineprefix*-win64; do
    [[ -d $prefix ]] || continue
    # The server saves the registry into the prefix as it ends: waiting for
    # that lets a caller remove the prefix.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
    if [[ -s $prefix.xvfb-pid ]]; then
      kill "$(cat "$prefix.xvfb-pid")" 2>/dev/null || true
      rm -f "$prefix.xvfb-pid" "$prefix.display" "$prefix.display-number"
    fi
  done
done
exit 0
