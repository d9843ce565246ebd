#!/usr/bin/env bash
# Builds everything and runs every test: the pure code natively under address
# and undefined-behaviour sanitizers, and the Windows build under Wine.
# Installs what is missing first (as root). Ends with "N passed, M failed",
# counting test programs; the exit status is ctest's: any failure fails it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
bash tools/build.sh

trap 'bash tools/stop-wine.sh build/win32 build/win64' EXIT

passed=0 failed=0 status=0
run_ctest() {
  local dir=$1 log ctest_status=0 line total bad
  log=$(mktemp)
  set +e
  (cd "$dir" && ctest --output-on-failure --timeout 900) 2>&1 | tee "$log"
  ctest_status=${PIPESTATUS[0]}
  set -e
  ((ctest_status == 0)) || status=1
  # The count is for the summary only: "100% tests passed, 0 tests failed out of 7".
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [[ -z $line ]]; then
    echo "test.sh: ctest in $dir gave no summary (exit status $ctest_status)" >&2
    failed=$((failed + 1))
    return
  fi
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<< "$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<< "$line")
  # A ctest that failed without counting a failed test still counts as one.
  if ((ctest_status != 0 && bad == 0)); then bad=1; fi
  passed=$((passed + total - bad)); failed=$((failed + bad))
}

run_ctest build/native
run_ctest build/win32
run_ctest build/win64

echo
echo "ctest programs: $passed passed, $failed failed"
exit $status
