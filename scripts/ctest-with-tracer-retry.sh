#!/usr/bin/env bash
# Runs CTest in a build folder (ctest-with-tracer-retry.sh BUILD-DIR [CTEST ARGS...])
# and runs once more the tests that failed only because LeakSanitizer's own
# stop-the-world tracer crashed as the process ended ("Tracer caught signal
# 11", then "LeakSanitizer has encountered a fatal error"). That crash is a
# race inside the sanitizer runtime when threads end under load; it is not a
# leak, which LeakSanitizer reports as "detected memory leaks". Any other
# failure, or a second failure of a test run again, fails the run.
set -uo pipefail

dir=$1
shift
failed_list=$dir/Testing/Temporary/LastTestsFailed.log
log=$dir/Testing/Temporary/LastTest.log
rm -f "$failed_list"  # an earlier run's list must not be taken for this one's
ctest --test-dir "$dir" "$@" && exit 0
[ -f "$failed_list" ] && [ -f "$log" ] || exit 1

# The names of the tests whose output holds the tracer's crash.
crashed=$(awk '
    /^[0-9]+\/[0-9]+ Testing: / { sub(/^[0-9]+\/[0-9]+ Testing: /, ""); name = $0 }
    /LeakSanitizer has encountered a fatal error/ && name != "" { print name }
' "$log" | sort -u)

while IFS= read -r entry; do
    name=${entry#*:}
    if ! grep -qxF -- "$name" <<<"$crashed"; then
        echo "ctest: $name failed, not by LeakSanitizer's tracer: no second run" >&2
        exit 1
    fi
done <"$failed_list"

echo "ctest: only LeakSanitizer's tracer crashed ($(wc -l <"$failed_list") test(s)); running them once more" >&2
ctest --test-dir "$dir" "$@" --rerun-failed
