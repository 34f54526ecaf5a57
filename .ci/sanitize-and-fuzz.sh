#!/usr/bin/env bash
# The sanitizer and fuzzing part of CI:
#  1. builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (g++) in
#     build-asan and runs the whole test suite there;
#  2. builds the fuzz targets with clang and libFuzzer in build-fuzz, replays the saved corpus
#     with the plain replay programs, then fuzzes each target for FUZZ_SECONDS (60).
# Any failure, sanitizer report or fuzzer finding ends the script with a non-zero status.
#
# Environment: ASAN_DIR, FUZZ_DIR (build folders), FUZZ_SECONDS, JOBS (2), NO_APT=1 to skip
# installing packages.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ASAN_DIR=${ASAN_DIR:-$ROOT/build-asan}
FUZZ_DIR=${FUZZ_DIR:-$ROOT/build-fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
JOBS=${JOBS:-2}
TARGETS=(analysis state_file)

step() { printf '\n=== %s (%s)\n' "$*" "$(date -u +%H:%M:%S)"; }

if [[ ${NO_APT:-0} != 1 && $(id -u) == 0 ]]; then
  step "Installing packages"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends cmake ninja-build g++ libgtest-dev \
    qt6-base-dev clang libclang-rt-dev \
    pkg-config libicu-dev libuchardet-dev libacl1-dev patch libgumbo-dev libstemmer-dev
fi

# Every sanitizer finding is fatal and shows where it happened.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen

step "Sanitizer build in $ASAN_DIR"
cmake -S "$ROOT" -B "$ASAN_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAGWRIGHT_SANITIZE=ON
cmake --build "$ASAN_DIR" -j "$JOBS"

step "Test suite under the sanitizers"
"$ROOT/scripts/ctest.sh" "$ASAN_DIR" -j "$JOBS"

step "Fuzz build (clang, libFuzzer) in $FUZZ_DIR"
CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAGWRIGHT_FUZZ=ON -DTAGWRIGHT_TESTS=OFF -DTAGWRIGHT_GUI=OFF
build_targets=()
for target in "${TARGETS[@]}"; do build_targets+=("${target}_replay" "${target}_fuzzer"); done
cmake --build "$FUZZ_DIR" -j "$JOBS" --target "${build_targets[@]}"

step "Replaying the corpus without libFuzzer"
for target in "${TARGETS[@]}"; do
  log=$FUZZ_DIR/$target-replay.log
  if ! "$FUZZ_DIR/fuzz/${target}_replay" "$ROOT/fuzz/corpus/$target" >"$log" 2>&1; then
    cat "$log"
    exit 1
  fi
  echo "$target: $(tail -n 1 "$log")"
done

# Shows a crashing input so that it can be saved as a test from the log alone.
show_findings() {
  local finding
  for finding in "$FUZZ_DIR"/findings/*; do
    [[ -e $finding ]] || continue
    echo "--- $finding (base64):"
    base64 "$finding"
  done
}

step "Fuzzing each target for $FUZZ_SECONDS seconds"
rm -rf "$FUZZ_DIR/findings"
mkdir -p "$FUZZ_DIR/findings"
status=0
for target in "${TARGETS[@]}"; do
  # New inputs go to a scratch corpus; the saved one is only read.
  work=$FUZZ_DIR/corpus-work/$target
  mkdir -p "$work"
  dict=()
  [[ -f $ROOT/fuzz/$target.dict ]] && dict=("-dict=$ROOT/fuzz/$target.dict")
  echo "--- $target"
  # A run of more than 10 s on one input counts as a hang.
  if ! "$FUZZ_DIR/fuzz/${target}_fuzzer" -max_total_time="$FUZZ_SECONDS" -timeout=10 \
      -max_len=8192 -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
      -artifact_prefix="$FUZZ_DIR/findings/$target-" "$work" "$ROOT/fuzz/corpus/$target" \
      >"$FUZZ_DIR/$target-fuzz.log" 2>&1; then
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ +DONE' \
    "$FUZZ_DIR/$target-fuzz.log" || true
  if [[ $status != 0 ]]; then
    tail -n 60 "$FUZZ_DIR/$target-fuzz.log"
    show_findings
    break
  fi
done

if [[ $status != 0 ]]; then
  echo "The fuzzer found a failing input: add it to fuzz/corpus/ and a test for it." >&2
  exit 1
fi
step "Sanitizers and fuzzing passed"
