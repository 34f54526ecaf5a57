#!/usr/bin/env bash
# Times `tagwright-cli list` on hostile pages at three sizes (1x, 2x, 4x) and checks that time
# and memory grow linearly. The pages are those of the robustness tests (binary noise, a 30 MB
# line, 500,000 distinct words, nested tables and font tags, unclosed tags, font sizes of 400
# digits, tags whose name attribute is spread over a long line), most of them ten times larger
# so that their times can be judged. A run of more than RUN_LIMIT seconds (120) fails.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bench/adversarial.sh [--build-dir DIR] [--cli FILE] [--inputs DIR] [--only KIND]...

  --build-dir DIR  configure and build tagwright-cli (Release) in DIR [build-bench]
  --cli FILE       time this tagwright-cli and build nothing
  --inputs DIR     write the pages to DIR and keep them; pages already there are reused
                   [a temporary folder, removed at the end]
  --only KIND      time only this kind of page (repeatable); --only list shows the kinds

Exit status: 0 when every run gave a result and grew linearly, 1 otherwise.
EOF
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=bench/common.sh
source "$ROOT/bench/common.sh"
BUILD_DIR=$ROOT/build-bench
CLI=
INPUTS=
ONLY=()
while (($#)); do
  case $1 in
    --build-dir) BUILD_DIR=${2:?--build-dir needs a folder}; shift 2 ;;
    --cli) CLI=${2:?--cli needs a file}; shift 2 ;;
    --inputs) INPUTS=${2:?--inputs needs a folder}; shift 2 ;;
    --only) ONLY+=("${2:?--only needs a kind}"); shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
export LC_ALL=C
RUN_LIMIT=${RUN_LIMIT:-120}

# KIND: list options, and what the 4x page is.
declare -A OPTIONS=(
  [binary]="--min-frequency 1"  [nul]=""  [utf8]=""  [line]=""  [word]=""  [opentag]=""
  [words]="--min-frequency 1"  [tables]=""  [tables0]="--table-weight 0"  [fonts]=""
  [unclosed]=""  [unclosed1]=""  [brackets]=""  [comments]=""  [bigfont]=""
  [metaspan]=""  [fontspan]=""  [entities]=""  [metaquote]=""
)
declare -A WHAT=(
  [binary]="32 MB of random bytes"
  [nul]="32 MB of words between NUL bytes"
  [utf8]="32 MB of invalid UTF-8 among words"
  [line]="30 MB of paragraphs on one line"
  [word]="one word of 30 MB"
  [opentag]="a tag left open for 30 MB"
  [words]="500,000 distinct words"
  [tables]="1,000,000 nested tables on one line"
  [tables0]="the same at table weight 0 (skipped)"
  [fonts]="1,000,000 nested font tags, then their ends"
  [unclosed]="1,000,000 lines of unclosed tags"
  [unclosed1]="1,000,000 unclosed tags on one line"
  [brackets]="10,000,000 opening then closing brackets"
  [comments]="1,000,000 comment starts in one comment"
  [bigfont]="100,000 font sizes of 400 digits"
  [metaspan]="1,000,000 meta tags, then a name spread by 4 MB of blanks"
  [fontspan]="1,000,000 font tags, then a size spread by 4 MB of blanks"
  [entities]="a line of 10,000,000 entity starters and 1,000,000 entities"
  [metaquote]="200,000 description meta tags on one line, a \">\" quoted after the content"
)
KINDS=(binary nul utf8 line word opentag words tables tables0 fonts unclosed unclosed1 brackets
  comments bigfont metaspan fontspan entities metaquote)
if ((${#ONLY[@]})); then
  if [[ ${ONLY[0]} == list ]]; then
    for kind in "${KINDS[@]}"; do printf '%-10s %s\n' "$kind" "${WHAT[$kind]}"; done
    exit 0
  fi
  for kind in "${ONLY[@]}"; do
    [[ -n ${WHAT[$kind]:-} ]] || { note "Unknown kind $kind (see --only list)"; exit 2; }
  done
  KINDS=("${ONLY[@]}")
fi

# Writes the page of KIND at SCALE quarters of the 4x size to FILE.
GENERATE='
import random, sys
kind, scale, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
MB = 1 << 20
def times(n): return n * scale // 4
def word(i):
    digits = ""
    for _ in range(6):
        digits = "abcdefghij"[i % 10] + digits
        i //= 10
    return "zq" + digits + "x"
out = open(path, "wb")
w = lambda s: out.write(s.encode("latin-1") if isinstance(s, str) else s)
if kind == "binary":
    w(random.Random(1).randbytes(times(32 * MB)))
elif kind == "nul":
    w(("garden\0lantern\0" * 1000 + "\n") * times(32 * MB // 15001))
elif kind == "utf8":
    w((b"caf\xe9 na\xefve\x80garden \xed\xa0\x80 \xc0\xaf meadow\xc3 " * 100 + b"\n") * times(32 * MB // 3401))
elif kind == "line":
    w("<p>garden <b>lantern</b></p> " * times(30 * MB // 29) + "\n")
elif kind == "word":
    w("ab" * times(15 * MB) + "\ncompass compass\n")
elif kind == "opentag":
    w("<p class=\"" + "x" * times(30 * MB) + "\"\n>garden garden\n")
elif kind == "words":
    n = times(500000)
    w("".join(word(i) + ("\n" if i % 10 == 9 else " ") for i in range(n)))
elif kind in ("tables", "tables0"):
    n = times(1000000)
    w("<table><tr><td>" * n + "lantern lantern" + "</td></tr></table>" * n + " compass compass\n")
elif kind == "fonts":
    n = times(1000000)
    w("<font size=\"+1\">" * n + "lantern lantern" + "</font>" * n + " compass compass\n")
elif kind == "unclosed":
    w("<div class=\"x\"\n" * times(1000000) + "<p>lantern lantern compass compass</p>\n")
elif kind == "unclosed1":
    w("<div class=\"x\" " * times(1000000) + "<p>lantern lantern compass compass</p>\n")
elif kind == "brackets":
    n = times(10000000)
    w("<" * n + "garden garden" + ">" * n + " lantern lantern\n")
elif kind == "comments":
    w("<!-- x\n" * times(1000000) + "--> lantern lantern\n")
elif kind == "bigfont":
    w(("<font size=\"" + "9" * 400 + "\">lantern</font> compass\n") * times(100000))
elif kind == "metaspan":
    w("<meta x>" * times(1000000) + "<meta n" + " " * times(4 * MB) +
      "ame=\"description\" content=\"lantern compass\">garden garden\n")
elif kind == "fontspan":
    w("<font x>" * times(1000000) + "<font s" + " " * times(4 * MB) + "ize=+1>lantern lantern\n")
elif kind == "metaquote":
    w("<meta name=\"description\" content=\"x\" a=\"y>z " * times(200000) + "lantern lantern\n")
elif kind == "entities":
    w("&" * times(10000000) + "&auml;&ouml;" * times(1000000) + " lantern lantern\n")
'

# --- tools -------------------------------------------------------------------------------
find_tools
[[ -x $TIME ]] || { note "/usr/bin/time (Debian package time) is needed"; exit 1; }
build_cli

if [[ -z $INPUTS ]]; then
  INPUTS=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-adversarial.XXXXXX")
  trap 'rm -rf "$INPUTS"' EXIT
fi
mkdir -p "$INPUTS"

# --- measuring ---------------------------------------------------------------------------
# measure KIND SCALE: runs list once under /usr/bin/time -v and sets CPU (user plus system,
# seconds), RSS (MB) and SIZE (MB); false when the run fails or gives no clear result.
measure() {
  local kind=$1 scale=$2 file out timing
  file=$INPUTS/$kind-$scale.html
  [[ -s $file ]] || python3 -c "$GENERATE" "$kind" "$scale" "$file"
  out=$INPUTS/.out timing=$INPUTS/.time
  SIZE=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
  # shellcheck disable=SC2086  # the options are words
  if ! timeout "$RUN_LIMIT" "$TIME" -v -o "$timing" "$CLI" list ${OPTIONS[$kind]} "$file" \
      >"$out" 2>&1; then
    [[ -s $out ]] || echo "no output within $RUN_LIMIT s" >"$out"
    CPU=- RSS=-
    return 1
  fi
  CPU=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { printf "%.2f", u + s }' "$timing")
  RSS=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$timing")
  # A clear result: the ranked list or the no-words message.
  head -n 1 "$out" | grep -qE '^(Rank Value Frequency|No words with more than)'
}

# ratio A B: A / B, or - when B is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else printf "-" }'; }

echo "tagwright-cli: $CLI"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
row() { printf '%-10s %7s %7s %7s %7s %7s %7s %7s %7s  %s\n' "$@"; }
row kind "4x MB" "1x CPU" "2x CPU" "4x CPU" "1x RSS" "2x RSS" "4x RSS" "CPU 4/1" verdict
row ---- ----- ------ ------ ------ ------ ------ ------ ------- -------
status=0
for kind in "${KINDS[@]}"; do
  cpus=() rsss=() verdict=linear
  for scale in 1 2 4; do
    if ! measure "$kind" "$scale"; then
      verdict="FAILED at ${scale}x: $(head -c 100 "$INPUTS/.out" | head -n 1)"
    fi
    cpus+=("$CPU") rsss+=("$RSS")
    [[ $verdict == linear ]] || break
  done
  if [[ $verdict == linear ]]; then
    # Linear work costs 4 times as much at 4x; a quadratic step costs 16 times. Runs of less
    # than a fifth of a second are too short to judge, and memory has a fixed floor of a few MB.
    awk -v a="${cpus[0]}" -v c="${cpus[2]}" 'BEGIN { exit !(c >= 0.2 && c > 6 * a) }' &&
      verdict="SUPER-LINEAR time"
    awk -v a="${rsss[0]}" -v c="${rsss[2]}" 'BEGIN { exit !(c > 8 && c > 6 * a) }' &&
      verdict="SUPER-LINEAR memory"
  fi
  [[ $verdict == linear ]] || status=1
  row "$kind" "$SIZE" "${cpus[0]:--}" "${cpus[1]:--}" "${cpus[2]:--}" "${rsss[0]:--}" \
    "${rsss[1]:--}" "${rsss[2]:--}" "$(ratio "${cpus[2]:-0}" "${cpus[0]:-0}")" "$verdict"
done
echo
for kind in "${KINDS[@]}"; do printf '%-10s %s\n' "$kind" "${WHAT[$kind]}"; done
exit $status
