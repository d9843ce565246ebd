#!/usr/bin/env bash
# tools/fuzz.sh fails when a target crashes and names the input that did it:
# a seed planted for fuzz_planted_crash (in BIN_DIR) makes it crash at once.
#   fuzz_script_test.sh BIN_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:?usage: fuzz_script_test.sh BIN_DIR}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

mkdir -p "$out/corpus/planted_crash"
printf 'tuvex planted crash' > "$out/corpus/planted_crash/marker"

status=0
bash "$root/tools/fuzz.sh" --bin "$bin" --out "$out" 5 planted_crash > "$out/output" 2>&1 || status=$?
cat "$out/output"
crash=$(ls "$out/crashes" 2>/dev/null | head -n 1)
if ((status == 0)); then
  echo "FAIL: fuzz.sh exited 0 after a crash"; exit 1
fi
if [[ -z $crash ]] || ! grep -qF "crashing input: $out/crashes/$crash" "$out/output"; then
  echo "FAIL: fuzz.sh did not name the crashing input (crashes: ${crash:-none})"; exit 1
fi
if [[ $(cat "$out/crashes/$crash") != "tuvex planted crash" ]]; then
  echo "FAIL: the named input is not the planted one"; exit 1
fi
echo "PASS: fuzz.sh failed with status $status and named $crash"
