#!/usr/bin/env bash
# Runs the bash completion of tagwright-cli on typed command lines and compares what it offers
# with what the tool accepts there.
# Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
source "$1" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/site/sub"
touch "$work/site/a.html" "$work/site/B.HTM" "$work/site/c.txt" "$work/site/d.htm"

failures=0
# expect "WORDS..." "EXPECTED REPLIES (sorted, blank-separated)": the last word is completed.
expect() {
  local line=$1 wanted=$2
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tagwright_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort -u | tr '\n' ' ' | sed 's/ $//')
  if [[ $got != "$wanted" ]]; then
    printf 'FAIL: "%s"\n  wanted: %s\n  got:    %s\n' "$line" "$wanted" "$got"
    failures=$((failures + 1))
  fi
}

expect "tagwright-cli " "apply existing generate list report"
expect "tagwright-cli ge" "generate"
expect "tagwright-cli --no-common a" "apply"
expect "tagwright-cli --format " "json text"
expect "tagwright-cli list --format j" "json"
expect "tagwright-cli list --table-weight " "0 1 2 3 4 5 6 7 8 9"
expect "tagwright-cli list --bold-weight " "1 2 3 4 5 6 7 8 9"
expect "tagwright-cli list --begin-with " ""
expect "tagwright-cli list --rec" "--recursive"
expect "tagwright-cli list --mo" "--modern"
expect "tagwright-cli list --ver" "--version"
# Only apply writes pages, so only apply offers its options.
expect "tagwright-cli list --dry" ""
expect "tagwright-cli apply --dry" "--dry-run"
expect "tagwright-cli apply --back" "--backup --backup="
expect "tagwright-cli apply --br" "--break-hard-links"
expect "tagwright-cli list --br" ""
expect "tagwright-cli list --fol" "--follow"
# report names its output file: any file is offered there, and -o's value is no page.
expect "tagwright-cli report --out" "--output"
expect "tagwright-cli list --out" ""
expect "tagwright-cli report -o $work/site/c" "$work/site/c.txt"
expect "tagwright-cli report -o out.html $work/site/a" "$work/site/a.html"
expect "tagwright-cli apply --keep" "--keep-existing"
# An option's value is not taken for the command.
expect "tagwright-cli --format json l" "list"
expect "tagwright-cli --begin-with apply l" "list"
# Pages in any case and folders; other files are not offered.
expect "tagwright-cli list $work/site/" "$work/site/B.HTM $work/site/a.html $work/site/d.htm $work/site/sub"
# After "--" a word starting with a dash is a page, not an option.
expect "tagwright-cli list -- $work/site/-" ""

# The completion leaves the shell's options as it found them.
shopt -q extglob && { echo "FAIL: extglob left on"; failures=$((failures + 1)); }

((failures == 0)) && echo "all completions as expected"
exit $((failures > 0))
