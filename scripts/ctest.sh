#!/usr/bin/env bash
# Runs the tests of a build folder and says how many ran and how many were skipped:
#
#   scripts/ctest.sh BUILD_DIR [ctest arguments...]
#
# Under CI (CI=true) a skipped or disabled test fails the run, as a failing one does: every
# check must run there. No test at all is a failure everywhere.
set -euo pipefail
build=${1:?usage: scripts/ctest.sh BUILD_DIR [ctest arguments...]}
shift
junit=$(mktemp)
trap 'rm -f "$junit"' EXIT

status=0
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ctest --test-dir "$build" --output-on-failure \
  --output-junit "$junit" "$@" || status=$?

# The counts of ctest's JUnit report, whose first element is the test suite.
count() { sed -n "s/^[[:space:]]*$1=\"\([0-9]*\)\".*/\1/p" "$junit" | head -1; }
tests=$(count tests) skipped=$(count skipped) disabled=$(count disabled) failures=$(count failures)
echo "Tests: ${tests:-0} run, ${failures:-0} failed, ${skipped:-0} skipped, ${disabled:-0} disabled"
if ((${tests:-0} == 0)); then
  echo "No test ran." >&2
  exit 1
fi
if [[ ${CI:-} == true ]] && ((${skipped:-0} + ${disabled:-0} > 0)); then
  echo "Under CI every test must run; skipped or disabled:" >&2
  grep -B1 -E '<skipped|status="(notrun|disabled)"' "$junit" | grep -o 'testcase name="[^"]*"' >&2 ||
    true
  exit 1
fi
exit "$status"
