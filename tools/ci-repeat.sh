#!/usr/bin/env bash
# Runs CI as it runs on a submission, several times in a row: each run is
# `bash .ci/run` in a fresh clone of this repository's HEAD, so a missing
# install step or an untracked file shows. With --busy, two busy loops per
# core run beside it, as on a loaded machine. Prints each run's time and
# verdict, and a last line that counts them; exits non-zero when any failed.
#
#   tools/ci-repeat.sh [--busy] [--keep] [RUNS]      (default: 5 runs)
set -euo pipefail
usage="usage: tools/ci-repeat.sh [--busy] [--keep] [RUNS]"
busy=0 keep=0 runs=5
while (($#)); do
  case $1 in
    --busy) busy=1; shift ;;
    --keep) keep=1; shift ;;
    -h|--help) echo "$usage"; exit 0 ;;
    -*) echo "ci-repeat.sh: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
    *) [[ $1 =~ ^[1-9][0-9]*$ ]] || { echo "ci-repeat.sh: RUNS must be a positive number, not $1" >&2; exit 2; }
       runs=$1; shift ;;
  esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tuvex-ci-repeat.XXXXXX)
loops=()
stop_loops() {
  ((${#loops[@]})) && kill "${loops[@]}" 2>/dev/null
  loops=()
}
trap 'stop_loops; ((keep)) || rm -rf "$work"' EXIT
if ((busy)); then
  for _ in $(seq $((2 * $(nproc)))); do
    (while :; do :; done) &
    loops+=($!)
  done
  echo "ci-repeat: ${#loops[@]} busy loops beside each run"
fi

passed=0 failed=0
for run in $(seq "$runs"); do
  clone=$work/run-$run
  git clone -q "$root" "$clone"
  start=$(date +%s)
  status=0
  (cd "$clone" && CI=true bash .ci/run < /dev/null) > "$work/run-$run.log" 2>&1 || status=$?
  seconds=$(($(date +%s) - start))
  summary=$(grep -E 'passed, [0-9]+ failed' "$work/run-$run.log" | tail -n 1 || true)
  if ((status == 0)); then
    passed=$((passed + 1))
    printf 'run %d: green in %d s; %s\n' "$run" "$seconds" "${summary:-no summary line}"
  else
    failed=$((failed + 1))
    cp "$work/run-$run.log" "/tmp/tuvex-ci-run-$run.log"
    printf 'run %d: red (exit status %d) in %d s; %s; log: %s\n' "$run" "$status" "$seconds" \
      "${summary:-no summary line}" "/tmp/tuvex-ci-run-$run.log"
  fi
  # The clone's build trees are large; the next run makes its own.
  if ((!keep)) && ! rm -rf "$clone"; then
    echo "ci-repeat: could not remove all of $clone; the runs go on"
  fi
done
echo "ci-repeat: $passed passed, $failed failed"
((failed == 0))
