#!/usr/bin/env bash
# Builds everything and runs every test: the pure code natively under address
# and undefined-behaviour sanitizers, and the Windows build under Wine.
# Installs what is missing first (as root). Ends with "N passed, M failed".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
bash tools/build.sh

trap 'bash tools/stop-wine.sh build/win32 build/win64' EXIT

passed=0 failed=0 status=0
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure --timeout 900) 2>&1 | tee "$log" || status=1
  # "100% tests passed, 0 tests failed out of 7"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [[ -z $line ]]; then status=1; rm -f "$log"; return; fi
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<< "$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<< "$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
  rm -f "$log"
}

run_ctest build/native
run_ctest build/win32
run_ctest build/win64

echo
echo "ctest programs: $passed passed, $failed failed"
if (( passed == 0 || failed > 0 )); then status=1; fi
exit $status
