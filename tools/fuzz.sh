#!/usr/bin/env bash
# Fuzzes each target for a bounded time (default 60 s each), starting from the
# seed corpora in fuzz/corpus. New inputs go to build/fuzz/corpus/TARGET,
# crashes to build/fuzz/crashes (copy one into fuzz/corpus/TARGET with its fix).
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}; shift || true
targets=("$@")
((${#targets[@]})) || targets=(command_parameter interpreter_line module_path command_line command_lookup menu_file text_kind)

bash tools/install-deps.sh
bash tools/build.sh native > /dev/null
mkdir -p build/fuzz/crashes
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "== fuzz_$target for ${seconds} s"
  build/native/bin/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$target-" \
    "build/fuzz/corpus/$target" "fuzz/corpus/$target" 2>&1 | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==|SUMMARY|.*invariant)' || true
done
