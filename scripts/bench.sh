#!/usr/bin/env bash
# Builds the benchmarks and runs those named (default: all that need no display).
#   scripts/bench.sh [model|texture|render|cost|anim|convert|app ...]   (app: the viewer's frames, on Xvfb)
# Every benchmark runs even when one misses its target; then one table lists
# every target line the benchmarks printed ("met", "ok" or "MISSED") and every
# benchmark that failed, and the script exits non-zero when anything missed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPELMORA_SANITIZE=OFF -DPELMORA_FUZZ=OFF \
  -DPELMORA_BUILD_BENCH=ON -DPELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
areas=("$@")
[ ${#areas[@]} -gt 0 ] || areas=(model texture render cost anim convert)

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
missed=0

# Runs one benchmark, showing its output as it comes, and notes its target
# lines and its exit status in the summary.
run_bench() {
  local name=$1
  shift
  local output status=0
  output=$(mktemp)
  echo "== $name"
  "$@" 2>&1 | tee "$output" || status=$?
  # A target line says met, ok or MISSED (NOT LOADED and LOADED: a memory
  # target whose image did or did not load against the rule).
  grep -E '(\b(met|MISSED)\b|(ok|LOADED)$)' "$output" | sed "s|^|$name\t|" >>"$summary" || true
  if [ "$status" -ne 0 ]; then
    printf '%s\texited with status %s: MISSED\n' "$name" "$status" >>"$summary"
  fi
  rm -f "$output"
}

for area in "${areas[@]}"; do
  if [ "$area" = app ]; then
    run_bench app_frames bench/app/run_frame_bench.sh build-bench
    continue
  fi
  for bench in build-bench/bench/"$area"/*_bench; do
    [ -x "$bench" ] || continue
    run_bench "$(basename "$bench")" "$bench"
  done
done

echo
echo "== summary of targets"
while IFS=$'\t' read -r name line; do
  verdict=met
  if [[ $line == *MISSED* || $line == *"NOT LOADED"* || $line == *" LOADED" ]]; then
    verdict=MISSED
    missed=$((missed + 1))
  fi
  printf '%-7s %-28s %s\n' "$verdict" "$name" "$line"
done <"$summary"
if [ "$missed" -gt 0 ]; then
  echo "$missed target(s) missed"
  exit 1
fi
echo "every target met"
