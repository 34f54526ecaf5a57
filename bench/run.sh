#!/usr/bin/env bash
# Times `tagwright-cli list` on large pages against `LC_ALL=C wc -w` on the same files.
# See bench/README.md for what the inputs are and how to read the output.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bench/run.sh [--build-dir DIR] [--cli FILE] [--inputs DIR] [--source DIR]...

  --build-dir DIR  configure and build tagwright-cli (Release) in DIR [build-bench]
  --cli FILE       time this tagwright-cli and build nothing
  --inputs DIR     write the pages to DIR and keep them; pages already there are reused
                   [a temporary folder, removed at the end]
  --source DIR     take the real HTML from DIR (repeatable) [/usr/share/doc]
EOF
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=bench/common.sh
source "$ROOT/bench/common.sh"
BUILD_DIR=$ROOT/build-bench
CLI=
INPUTS=
SOURCES=()
while (($#)); do
  case $1 in
    --build-dir) BUILD_DIR=${2:?--build-dir needs a folder}; shift 2 ;;
    --cli) CLI=${2:?--cli needs a file}; shift 2 ;;
    --inputs) INPUTS=${2:?--inputs needs a folder}; shift 2 ;;
    --source) SOURCES+=("${2:?--source needs a folder}"); shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
((${#SOURCES[@]})) || SOURCES=(/usr/share/doc)

# wc -w counts bytes, not characters, under the C locale; timings read with a '.' too.
export LC_ALL=C

# Bytes of HTML under the sources.
html_bytes() {
  { find "$@" -type f \( -name '*.htm' -o -name '*.html' -o -name '*.htm.gz' \
      -o -name '*.html.gz' \) -printf '%s\n' 2>/dev/null || true; } |
    awk '{ s += $1 } END { print s + 0 }'
}

# --- tools -------------------------------------------------------------------------------
find_tools
build_cli

# --- inputs ------------------------------------------------------------------------------
if [[ -z $INPUTS ]]; then
  INPUTS=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-bench.XXXXXX")
  trap 'rm -rf "$INPUTS"' EXIT
fi
mkdir -p "$INPUTS"

# Less than this much real HTML would be repeated too often to stand for a real page.
MIN_REAL=$((5 * 1000 * 1000))
if (($(html_bytes "${SOURCES[@]}") < MIN_REAL)) && [[ ${SOURCES[*]} == /usr/share/doc ]]; then
  note "Little HTML under /usr/share/doc; installing python3-doc for real pages..."
  apt_install python3-doc || note "warning: python3-doc could not be installed"
fi
if (($(html_bytes "${SOURCES[@]}") == 0)); then
  note "warning: no HTML in ${SOURCES[*]}; the real pages repeat this project's own docs/"
  SOURCES=("$ROOT/docs")
fi

MB=$((1000 * 1000))
REAL_SIZE=$((20 * MB))
META_COUNT=100000
FONT_COUNT=100000
WORD_COUNT=500000

# Each page is built once; a kept --inputs folder reuses it. PAGE[KIND-N] names the page of
# KIND at N quarters of the full size.
declare -A PAGE
make_page() {
  local kind=$1 n=$2 amount=$3 file
  file=$kind-$amount.html
  PAGE[$kind-$n]=$file
  [[ -s $INPUTS/$file ]] && return
  case $kind in
    real|oneline) python3 "$ROOT/bench/make_inputs.py" "$kind" "$amount" "$INPUTS/$file" \
      "${SOURCES[@]}" ;;
    *) python3 "$ROOT/bench/make_inputs.py" "$kind" "$amount" "$INPUTS/$file" ;;
  esac
}

note "Building the pages in $INPUTS..."
for n in 1 2 4; do
  make_page real $n $((REAL_SIZE * n / 4))
  make_page oneline $n $((REAL_SIZE * n / 4))
  make_page meta $n $((META_COUNT * n / 4))
  make_page fonts $n $((FONT_COUNT * n / 4))
  make_page words $n $((WORD_COUNT * n / 4))
done

# --- measuring ---------------------------------------------------------------------------
# Runs a command five times with its output discarded and prints the shortest wall-clock
# time and the shortest CPU time (user plus system) in seconds; fails when the command does.
# The CPU time is exact to the microsecond and suffers less than the wall clock when other
# work shares the machine.
BEST_OF_5='
import resource, subprocess, sys, time
walls, cpus = [], []
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    code = subprocess.call(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    walls.append(time.perf_counter() - start)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    if code != 0:
        sys.exit(1)
print("%.4f %.4f" % (min(walls), min(cpus)))
'
best_of_5() { python3 -c "$BEST_OF_5" "$@"; }

# div A B [FORMAT]: A / B, or - when B is 0.
div() {
  awk -v a="$1" -v b="$2" -v f="${3:-%.2f}" 'BEGIN { if (b > 0) printf f, a / b; else printf "-" }'
}

declare -A WALL_OF CPU_OF RATIO_OF CPU_RATIO_OF RSS_OF WORDS_OF
row() { printf '%-30s %7s %7s %5s %7s %7s %7s %6s %6s %7s %7s\n' "$@"; }
header() {
  row input "size MB" "list s" "MB/s" "CPU s" "wc -w s" "CPU s" ratio "CPU r" "RSS MB" words
  row ----- ------- ------ ---- ----- ------- ----- ----- ----- ------ -----
}

# measure LABEL KIND-N [OPTION...]: one row of the table, `list` run with the options; the
# times are kept under KIND-N followed by the options.
measure() {
  local label=$1 key=$2${3-} file=$INPUTS/${PAGE[$2]} size mb timing tw tcpu ww wcpu rss=- words
  local options=("${@:3}")
  local out=$INPUTS/.list.out
  size=$(stat -c %s "$file")
  mb=$(div "$size" 1000000 %.1f)
  cat "$file" >/dev/null  # the first timed run should not pay for the disk
  read -r ww wcpu <<<"$(best_of_5 wc -w "$file")"
  if ! timing=$(best_of_5 "$CLI" list "${options[@]}" "$file"); then
    row "$label" "$mb" FAILED - - "$ww" "$wcpu" - - - -
    return
  fi
  read -r tw tcpu <<<"$timing"
  if [[ -x $TIME ]]; then
    "$TIME" -v -o "$INPUTS/.time" "$CLI" list "${options[@]}" "$file" >"$out"
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$INPUTS/.time")
  else
    "$CLI" list "${options[@]}" "$file" >"$out"
  fi
  words=$(grep -c '^ *[0-9]' "$out" || true)
  rm -f "$out" "$INPUTS/.time"
  WALL_OF[$key]=$tw
  RSS_OF[$key]=$rss
  WORDS_OF[$key]=$words
  CPU_OF[$key]=$tcpu
  RATIO_OF[$key]=$(div "$tw" "$ww")
  CPU_RATIO_OF[$key]=$(div "$tcpu" "$wcpu")
  row "$label" "$mb" "$tw" "$(div "$mb" "$tw" %.0f)" "$tcpu" "$ww" "$wcpu" "${RATIO_OF[$key]}" \
    "${CPU_RATIO_OF[$key]}" "$rss" "$words"
}

echo "tagwright-cli: $CLI"
echo "machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
  "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "real HTML from: ${SOURCES[*]}"
echo
header
measure "(a) real page, 20 MB" real-4
# The modern reading, when this tagwright-cli has it.
MODERN=0
"$CLI" --help 2>/dev/null | grep -q -- --modern && MODERN=1
((MODERN)) && measure "    the same, modern reading" real-4 --modern
measure "(b) same page on one line" oneline-4
measure "(c) line of 100,000 meta tags" meta-4
measure "    line of 100,000 font tags" fonts-4
measure "(d) 500,000 distinct words x2" words-4
echo
echo "(e) scaling: the same generators at 1x and 2x (4x is the table above)"
header
for kind in real oneline meta fonts words; do
  for n in 1 2; do
    measure "    $kind ${n}x" "$kind-$n"
  done
done

echo
echo "Growth of the CPU time of list (linear: about 2 at 2x and 4 at 4x; wall clock in brackets):"
printf '%-8s %7s %7s %7s %14s %14s  %s\n' input 1x 2x 4x 2x/1x 4x/1x verdict
status=0
for kind in real oneline meta fonts words; do
  c1=${CPU_OF[$kind-1]:-} c2=${CPU_OF[$kind-2]:-} c4=${CPU_OF[$kind-4]:-}
  if [[ -z $c1 || -z $c2 || -z $c4 ]]; then
    printf '%-8s %s\n' "$kind" "a run failed"
    status=1
    continue
  fi
  g2="$(div "$c2" "$c1") ($(div "${WALL_OF[$kind-2]}" "${WALL_OF[$kind-1]}"))"
  g4="$(div "$c4" "$c1") ($(div "${WALL_OF[$kind-4]}" "${WALL_OF[$kind-1]}"))"
  # A quadratic step makes 4x cost 16x; 6 leaves room for noise and the caches.
  verdict=linear
  awk -v a="$c1" -v c="$c4" 'BEGIN { exit !(c > 6 * a) }' && verdict=SUPER-LINEAR && status=1
  printf '%-8s %7s %7s %7s %14s %14s  %s\n' "$kind" "$c1" "$c2" "$c4" "$g2" "$g4" "$verdict"
done
if ((MODERN)); then
  modern=$(div "${CPU_OF[real-4--modern]:-0}" "${CPU_OF[real-4]:-0}")
  if awk -v r="$modern" 'BEGIN { exit !(r != "-" && r <= 1.5) }'; then
    echo "Modern reading on the real page: $modern times the CPU time of the default reading" \
      "(the goal is 1.5 or less)."
  else
    echo "Modern reading on the real page: $modern times the CPU time of the default reading;" \
      "the goal is 1.5 or less."
    status=1
  fi
fi
echo
# The targets, on the CPU times (steadier than the wall clock on a shared machine).
target() {
  local label=$1 key=$2 limit=$3 r=${CPU_RATIO_OF[$2]:-}
  if [[ -n $r && $r != - ]] && awk -v r="$r" -v l="$limit" 'BEGIN { exit !(r <= l) }'; then
    echo "Target met on $label: list takes $r times the CPU time of wc -w (at most $limit)."
  else
    echo "Target missed on $label: list takes ${r:-?} times the CPU time of wc -w" \
      "(at most $limit)."
    status=1
  fi
}
target "the real page" real-4 0.5
target "the one-line page" oneline-4 1.0
target "the distinct words" words-4 2.0

# Memory per distinct word: the peak of the distinct-word page less that of an empty page.
if [[ -x $TIME ]]; then
  printf '<p>x</p>\n' >"$INPUTS/.empty.html"
  "$TIME" -v -o "$INPUTS/.time" "$CLI" list "$INPUTS/.empty.html" >/dev/null
  base=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$INPUTS/.time")
  rm -f "$INPUTS/.time" "$INPUTS/.empty.html"
  per=$(awk -v r="${RSS_OF[words-4]:-0}" -v b="$base" -v n="$WORD_COUNT" \
    'BEGIN { printf "%.0f", (r * 1024 - b) * 1024 / n }')
  verdict=met
  ((per <= 90)) || { verdict=missed; status=1; }
  echo "Memory per distinct word: $per bytes (peak RSS less the $((base / 1024)) MB of an" \
    "empty page, over $WORD_COUNT words); target $verdict (at most 90)."
fi
exit $status
