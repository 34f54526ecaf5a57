#!/bin/bash
# Times tagwright-cli over a whole site: `generate -r` and `apply --dry-run -r` over a copy of
# the HTML pages installed under /usr/share/doc, with -j 1 and -j 2, in pages per second, and
# `report -r -j 2` with the size of the report it writes.
#
#   bench/site.sh [--cli PATH] [--build-dir DIR] [--site DIR] [--source DIR] [--runs N]
#
# --site keeps the copy in DIR (reused when it already holds pages); without it the copy goes
# to a temporary folder that is removed at the end. --source copies from DIR instead of
# /usr/share/doc. Needs hyperfine and python3.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/bench/common.sh"

CLI=""
BUILD_DIR=$ROOT/build-bench
SITE=""
SOURCE=/usr/share/doc
RUNS=3
while [[ $# -gt 0 ]]; do
  case $1 in
    --cli) CLI=$2; shift 2 ;;
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --site) SITE=$2; shift 2 ;;
    --source) SOURCE=$2; shift 2 ;;
    --runs) RUNS=$2; shift 2 ;;
    *) note "usage: bench/site.sh [--cli PATH] [--build-dir DIR] [--site DIR] [--source DIR] [--runs N]"; exit 2 ;;
  esac
done
command -v hyperfine >/dev/null || apt_install hyperfine || { note "hyperfine is needed"; exit 1; }
build_cli

if [[ -z $SITE ]]; then
  SITE=$(mktemp -d /tmp/tagwright-site.XXXXXX)
  trap 'rm -rf "$SITE"' EXIT
fi
mkdir -p "$SITE"
if [[ -z $(find "$SITE" -type f -iname '*.htm*' -print -quit 2>/dev/null) ]]; then
  note "Copying the pages under $SOURCE to $SITE..."
  (cd "$SOURCE" && find . -type f \( -iname '*.htm' -o -iname '*.html' \) -print0 |
    tar -cf - --null -T -) | tar -C "$SITE" -xf -
fi
PAGES=$(find "$SITE" -type f \( -iname '*.htm' -o -iname '*.html' \) | wc -l)
MB=$(du -sm "$SITE" | cut -f1)
note "$PAGES pages, $MB MB; load average: $(cut -d' ' -f1-3 /proc/loadavg)"

json=$(mktemp /tmp/tagwright-site-times.XXXXXX.json)
report=$(mktemp /tmp/tagwright-site-report.XXXXXX.html)
# -i: pages without </head> or without words make apply exit with 1, as they should.
hyperfine -N -i --style none --runs "$RUNS" --export-json "$json" \
  "$CLI generate -r -j 1 $SITE" "$CLI generate -r -j 2 $SITE" \
  "$CLI apply --dry-run -r -j 1 $SITE" "$CLI apply --dry-run -r -j 2 $SITE" \
  "$CLI report -r -j 2 -o $report $SITE" >/dev/null
python3 - "$json" "$PAGES" "$CLI" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
pages = int(sys.argv[2])
print(f"{'command':42} {'mean s':>8} {'min s':>8} {'pages/s':>9} {'CPU s':>7}")
for r in results:
    command = r["command"].replace(sys.argv[3], "tagwright-cli").rsplit(" ", 1)[0]
    cpu = r["user"] + r["system"]
    print(f"{command:42} {r['mean']:8.2f} {r['min']:8.2f} {pages / r['min']:9.0f} {cpu:7.2f}")
PY
note "report: $(stat -c %s "$report") bytes"
rm -f "$json" "$report"
