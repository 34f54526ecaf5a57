#!/usr/bin/env bash
# Checks that the C++ sources keep the project's format (.clang-format) and pass clang-tidy
# (.clang-tidy) with no finding:
#
#   scripts/lint.sh [BUILD_DIR]           (default: build-lint beside the sources)
#   scripts/lint.sh --format-only
#
# clang-tidy reads the compile commands of a Debug configuration in BUILD_DIR, whose Qt code
# generators (moc) are run first. `clang-format -i FILE` fixes a format complaint.
# Environment: JOBS (default: the number of processors).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
format_only=0
if [[ ${1:-} == --format-only ]]; then
  format_only=1
  shift
fi
build=${1:-"$root/build-lint"}
jobs=${JOBS:-$(nproc)}

# A check that cannot run is a failure, never a silent pass.
needed=(clang-format)
((format_only)) || needed+=(clang-tidy run-clang-tidy)
for tool in "${needed[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "lint: $tool is not installed (scripts/install-deps.sh clang-format clang-tidy)" >&2
    exit 1
  fi
done

# The project's C++ files, as git knows them (or as they lie, outside a git checkout).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' 'tools/*.cpp' 'tools/*.h' 'bench/*.cpp' 'bench/*.h')
else
  mapfile -t files < <(find src tests fuzz tools bench -name '*.cpp' -o -name '*.h' | sort)
fi

echo "clang-format: ${#files[@]} files"
clang-format --dry-run --Werror "${files[@]}"
((format_only)) && exit 0

echo "clang-tidy: compile commands in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DTAGWRIGHT_TOOLS=ON -DCMAKE_CXX_COMPILER_LAUNCHER= -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
mapfile -t autogen < <(cmake --build "$build" --target help | grep -oE '[A-Za-z0-9_-]+_autogen$' |
  sort -u)
if ((${#autogen[@]} > 0)); then
  cmake --build "$build" -j"$jobs" --target "${autogen[@]}" >/dev/null
fi

# Every translation unit of the project's own folders; generated files stay out. A crash or a
# compile error of clang-tidy gives a non-zero status, which fails the check as a finding does.
folders="$root/(src|tests|fuzz|tools|bench)/"
units=$(grep -cE "\"file\": \"$folders" "$build/compile_commands.json" || true)
if ((units == 0)); then
  echo "clang-tidy: no translation units of the project in $build/compile_commands.json" >&2
  exit 1
fi
echo "clang-tidy: $units translation units"
status=0
run-clang-tidy -p "$build" -j "$jobs" -quiet "^$folders" >"$build/clang-tidy.raw" 2>&1 ||
  status=$?
sed "s/\x1b\[[0-9;]*m//g" "$build/clang-tidy.raw" | grep -v "^clang-tidy" |
  grep -v 'warnings generated' >"$build/clang-tidy.log" || true
cat "$build/clang-tidy.log"
if grep -qE ' (warning|error): ' "$build/clang-tidy.log"; then
  echo "clang-tidy has findings (above; the full log is $build/clang-tidy.log)" >&2
  exit 1
fi
if ((status != 0)); then
  echo "clang-tidy did not run through (status $status; the log is $build/clang-tidy.log)" >&2
  exit 1
fi
echo "clang-tidy: no findings"
