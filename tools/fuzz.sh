#!/usr/bin/env bash
# Fuzzes each target for a bounded time (default 60 s each), starting from the
# seed corpora in fuzz/corpus. New inputs go to OUT/corpus/TARGET, crashes to
# OUT/crashes (copy one into fuzz/corpus/TARGET with its fix); OUT is
# build/fuzz unless given. Fails when a target crashed, naming the input.
#   tools/fuzz.sh [--bin DIR] [--out DIR] [SECONDS] [TARGET...]
# --bin DIR takes the fuzzers built in DIR as they are; without it the native
# build is brought up to date first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: tools/fuzz.sh [--bin DIR] [--out DIR] [SECONDS] [TARGET...]"

bin= out=
while (($#)); do
  case $1 in
    --bin) bin=$(cd "${2:?$usage}" && pwd); shift 2 ;;
    --out) out=$(mkdir -p "${2:?$usage}" && cd "$2" && pwd); shift 2 ;;
    -h|--help) echo "$usage"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
done
seconds=60
if [[ ${1:-} =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
targets=("$@")
((${#targets[@]})) || targets=(command_parameter interpreter_line module_path command_line command_lookup menu_file text_kind menu_doctor error_text)

cd "$root"
if [[ -z $bin ]]; then
  bash tools/install-deps.sh
  bash tools/build.sh native > /dev/null
  bin=$root/build/native/bin
fi
out=${out:-$root/build/fuzz}
mkdir -p "$out/crashes" "$out/logs"

failed=()
for target in "${targets[@]}"; do
  fuzzer=$bin/fuzz_$target
  if [[ ! -x $fuzzer ]]; then
    echo "fuzz.sh: no fuzzer $fuzzer" >&2
    failed+=("$target")
    continue
  fi
  mkdir -p "$out/corpus/$target"
  log=$out/logs/$target.log
  echo "== fuzz_$target for ${seconds} s"
  seeds=("$out/corpus/$target")
  [[ -d fuzz/corpus/$target ]] && seeds+=("fuzz/corpus/$target")
  status=0
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/crashes/$target-" \
    "${seeds[@]}" > "$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==|SUMMARY|.*invariant)' "$log" || true
  if ((status != 0)); then
    failed+=("$target")
    input=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    echo "fuzz.sh: fuzz_$target failed (exit status $status); crashing input: ${input:-none written}; log: $log" >&2
  fi
done

if ((${#failed[@]})); then
  echo "fuzz.sh: ${#failed[@]} of ${#targets[@]} targets failed: ${failed[*]}" >&2
  exit 1
fi
