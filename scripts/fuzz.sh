#!/usr/bin/env bash
# Runs every fuzz target for MINUTES minutes each (default 5) and prints, per target, how many
# inputs it executed and the coverage it reached. Builds the fuzz preset (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) first.
#
#   scripts/fuzz.sh [MINUTES] [TARGET...]
#
# Each target starts from its seed corpus (tests/fuzz/corpus/<target>) and keeps what it finds in
# build/fuzz/fuzz-runs/<target>/corpus, so a later run goes on from there; its log is
# build/fuzz/fuzz-runs/<target>/log. A crash, leak or timeout leaves its input beside the log and
# makes the script exit non-zero after the remaining targets have run.
set -euo pipefail
cd "$(dirname "$0")/.."

MINUTES="${1:-5}"
shift || true
if ! [[ "$MINUTES" =~ ^[0-9]+([.][0-9]+)?$ ]]; then
  echo "usage: scripts/fuzz.sh [MINUTES] [TARGET...]" >&2
  exit 2
fi
SECONDS_EACH=$(awk -v m="$MINUTES" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')

if [ "$#" -gt 0 ]; then
  TARGETS=("$@")
else
  mapfile -t TARGETS < <(ls tests/fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
fi

JOBS="${JOBS:-$(nproc)}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$JOBS" --target "${TARGETS[@]}"

RUNS=build/fuzz/fuzz-runs
failed=0
printf '%-24s %8s %12s %10s %8s %8s %8s\n' target seconds executions "exec/s" cov ft corpus
for target in "${TARGETS[@]}"; do
  dir="$RUNS/$target"
  mkdir -p "$dir/corpus"
  status=0
  ASAN_OPTIONS=detect_leaks=1 "build/fuzz/tests/fuzz/$target" \
    -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/" "$dir/corpus" "tests/fuzz/corpus/$target" >"$dir/log" 2>&1 ||
    status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -n1)
  # The last status line of libFuzzer: "#N ... cov: C ft: F corp: K/..."
  last=$(grep -E '^#[0-9]+' "$dir/log" | tail -n1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%-24s %8s %12s %10s %8s %8s %8s' "$target" "$SECONDS_EACH" "${executions:-?}" \
    "${rate:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}"
  if [ "$status" -ne 0 ]; then
    printf '  FAILED (exit %s, see %s)' "$status" "$dir/log"
    failed=1
  fi
  printf '\n'
done
exit "$failed"
