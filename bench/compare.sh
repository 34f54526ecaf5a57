#!/usr/bin/env bash
# Compares the output of two tagwright-cli builds over many pages and option sets: the fuzz
# seeds, the manual's pages, small benchmark and hostile pages, and real HTML under
# /usr/share/doc. Any difference in output or exit status is shown and fails the run.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bench/compare.sh [--pages N] [--keep DIR] REFERENCE_CLI NEW_CLI

  --pages N   real pages taken from /usr/share/doc [300]
  --keep DIR  build the pages in DIR and keep them (reused by a later run)
EOF
}

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
REAL_PAGES=300
KEEP=
while (($#)); do
  case $1 in
    --pages) REAL_PAGES=${2:?--pages needs a number}; shift 2 ;;
    --keep) KEEP=${2:?--keep needs a folder}; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) break ;;
  esac
done
(($# == 2)) || { usage >&2; exit 2; }
REF=$1 NEW=$2
for cli in "$REF" "$NEW"; do [[ -x $cli ]] || { echo "No program at $cli" >&2; exit 2; }; done

if [[ -n $KEEP ]]; then
  PAGES=$KEEP
else
  PAGES=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-compare.XXXXXX")
  trap 'rm -rf "$PAGES"' EXIT
fi
mkdir -p "$PAGES"
export LC_ALL=C

if [[ ! -e $PAGES/.done ]]; then
  # The fuzz seeds start with a settings line; as pages it is just text.
  for f in "$ROOT"/fuzz/corpus/analysis/*; do cp "$f" "$PAGES/fuzz-$(basename "$f").html"; done
  cp "$ROOT"/docs/*.html "$PAGES/"
  python3 "$ROOT/bench/make_inputs.py" real 2000000 "$PAGES/bench-real.html"
  python3 "$ROOT/bench/make_inputs.py" oneline 2000000 "$PAGES/bench-oneline.html"
  python3 "$ROOT/bench/make_inputs.py" meta 3000 "$PAGES/bench-meta.html"
  python3 "$ROOT/bench/make_inputs.py" fonts 3000 "$PAGES/bench-fonts.html"
  python3 "$ROOT/bench/make_inputs.py" words 30000 "$PAGES/bench-words.html"
  # Hostile pages: odd bytes, long lines and words, unclosed tags, deep nesting, entities,
  # plural and singular forms that merge in changing order.
  python3 - "$PAGES" <<'EOF'
import random, sys
d = sys.argv[1]
def put(name, data):
    open(d + "/" + name + ".html", "wb").write(data if isinstance(data, bytes) else data.encode("latin-1"))
rng = random.Random(7)
put("hostile-binary", rng.randbytes(300000))
put("hostile-nul", "garden\0lantern\0" * 3000 + "\r\nGarden\rLANTERN\n")
put("hostile-utf8", b"caf\xe9 na\xefve\x80garden \xed\xa0\x80 \xc0\xaf meadow\xc3 " * 2000)
put("hostile-word", "ab" * 200000 + "\ncompass compass\n")
put("hostile-opentag", "<p class=\"" + "x" * 100000 + "\"\n>garden garden\n")
put("hostile-tables", "<table><tr><td>" * 3000 + "lantern lantern" + "</td></tr></table>" * 3000 + " compass compass\n")
put("hostile-fonts", "<font size=\"+1\">" * 3000 + "lantern lantern" + "</font>" * 3000 + " compass\n")
put("hostile-brackets", "<" * 30000 + "garden garden" + ">" * 30000 + " lantern lantern\n")
put("hostile-comments", "<!-- x\n" * 3000 + "--> lantern lantern\n")
put("hostile-entities", "&" * 30000 + "&auml;&ouml;&Eacute;&amp;&lt;&gt;&nbsp;" * 3000 + " lantern\n")
stems = ["garden", "lantern", "meadow", "compass", "harbor", "glass", "bus", "kiss", "tree"]
forms = []
for s in stems:
    forms += [s, s + "s", s + "ss", s + "es", s.upper(), "<b>" + s + "s</b>", "<h1>" + s + "</h1>",
              "<title>" + s + "s</title>"]
put("hostile-plurals", "\n".join(" ".join(rng.choice(forms) for _ in range(30)) for _ in range(400)))
words = ["w" + "".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(1, 12)))
         for _ in range(4000)]
put("hostile-many", "<html><title>many words</title>\n" + "\n".join(
    " ".join(rng.choice(words) + rng.choice(["", "s", "", "ly", "ing", "ed"]) for _ in range(15))
    for _ in range(3000)))
EOF
  # Read through a process substitution: head closing the pipe early is no failure here.
  mapfile -d '' -t real < <(find /usr/share/doc -type f -name '*.html' -size -2M -print0 |
    sort -z | head -z -n "$REAL_PAGES")
  for i in "${!real[@]}"; do cp "${real[$i]}" "$PAGES/real-$i.html"; done
  touch "$PAGES/.done"
fi

FILES=("$PAGES"/*.html)
OPTION_SETS=(
  ""
  "--no-short --no-common --min-frequency 1"
  "--short-size 5 --min-frequency 3 --bold-weight 9"
  "--table-weight 0 --existing-weight 0 --max-keywords 5 --max-bytes 100"
  "--table-weight 9 --existing-weight 9 --short-size 1 --min-frequency 1 --begin-with alpha,beta"
  "--modern"
  "--modern --no-common --min-frequency 1 --table-weight 0 --bold-weight 9"
)
differences=0 runs=0
compare() {
  local ref new rs=0 ns=0
  ref=$("$REF" "$@" "${FILES[@]}" 2>&1) || rs=$?
  new=$("$NEW" "$@" "${FILES[@]}" 2>&1) || ns=$?
  runs=$((runs + 1))
  if [[ $rs != "$ns" || $ref != "$new" ]]; then
    differences=$((differences + 1))
    echo "DIFFERENT: $* (exit $rs against $ns)"
    diff <(printf '%s\n' "$ref") <(printf '%s\n' "$new") | head -20 || true
  fi
}
for options in "${OPTION_SETS[@]}"; do
  for format in text json; do
    for command in list generate; do
      # shellcheck disable=SC2086
      compare "$command" $options --format "$format"
    done
  done
done
compare existing
compare existing --format json
echo "${#FILES[@]} pages, $runs runs, $differences with differences"
((differences == 0))
