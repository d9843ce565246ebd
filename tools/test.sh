#!/usr/bin/env bash
# Builds everything and runs every test: the pure code natively under address
# and undefined-behaviour sanitizers, and the Windows build under Wine.
# Installs what is missing first (as root). Ends with "N passed, M failed",
# counting test programs; the exit status is ctest's: any failure fails it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh

results=$(mktemp -d)
trap 'wait; bash tools/stop-wine.sh build/win32 build/win64; rm -rf "$results"' EXIT
wine_arches=(win64)
run_32bit=1
bash tools/can-run-32bit.sh || run_32bit=0
((run_32bit)) && wine_arches+=(win32)
# The Wine prefixes are made while the build runs: Wine spends most of that
# half minute waiting. The tests' first program waits for them (the prefix's
# lock).
mkdir -p build
# Each tree has two: one program runs in halves side by side.
for arch in "${wine_arches[@]}"; do
  for prefix in wineprefix wineprefix-second; do
    bash tools/wine-run.sh --arch "$arch" --prefix "$root/build/$arch/$prefix" --prepare \
      > "build/$arch.$prefix.prepare.log" 2>&1 &
  done
done
bash tools/build.sh

passed=0 failed=0 status=0
# Runs the tests of one build folder, its output into `log`, and writes
# "passed failed status" into `counts`: the summary counts test programs.
run_ctest() {
  local dir=$1 log=$2 counts=$3 ctest_status=0 line total bad
  shift 3
  # Three at a time: the tests under one Wine prefix take turns, and those
  # under the other prefix and those that need no Wine run beside them.
  (cd "$dir" && ctest --output-on-failure --timeout 900 -j 3 "$@") > "$log" 2>&1 || ctest_status=$?
  # The count is for the summary only: "100% tests passed, 0 tests failed out of 7".
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [[ -z $line ]]; then
    echo "test.sh: ctest in $dir gave no summary (exit status $ctest_status)" >> "$log"
    echo "0 1 1" > "$counts"
    return
  fi
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<< "$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<< "$line")
  # A ctest that failed without counting a failed test still counts as one.
  if ((ctest_status != 0 && bad == 0)); then bad=1; fi
  echo "$((total - bad)) $bad $((ctest_status != 0))" > "$counts"
}

# The two Windows trees run side by side, each under its own Wine prefix
# and display, beside the native tests; their outputs follow one another.
trees=(build/native build/win32 build/win64)
win32_only=()
if ((!run_32bit)); then
  # Built all the same, so that the 32-bit code still compiles and links.
  echo "test.sh: this machine cannot run 32-bit programs (its kernel refuses them: 'Exec format error');"
  echo "test.sh: of build/win32 only the tests that need no Wine run here. Run the rest on a machine with 32-bit support."
  win32_only=(-L without-wine)
fi
for i in "${!trees[@]}"; do
  if [[ ${trees[$i]} == build/win32 ]]; then
    run_ctest "${trees[$i]}" "$results/$i.log" "$results/$i.counts" "${win32_only[@]}" &
  else
    run_ctest "${trees[$i]}" "$results/$i.log" "$results/$i.counts" &
  fi
done
wait
for i in "${!trees[@]}"; do
  cat "$results/$i.log"
  read -r tree_passed tree_failed tree_status < "$results/$i.counts"
  passed=$((passed + tree_passed)); failed=$((failed + tree_failed))
  ((tree_status == 0)) || status=1
done

echo
echo "ctest programs: $passed passed, $failed failed"
exit $status
