#!/usr/bin/env bash
# Builds the quality benchmark's pages in CORPUS_DIR: the real pages that Debian packages
# install, listed in manifest.tsv, and small pages in legacy encodings made with iconv from
# real text. CORPUS_DIR/pages.tsv lists every page with its language, its generator and, for
# the legacy pages, the charset it is written in. See bench/quality/README.md.
# Usage: bench/quality/make_corpus.sh [CORPUS_DIR]   (default /tmp/tagwright-quality)
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUT=${1:-/tmp/tagwright-quality}
MANIFEST=$HERE/manifest.tsv

# The packages of the manifest, and those whose text the legacy pages are made from.
mapfile -t packages < <(grep -v '^#' "$MANIFEST" | cut -f1 | sort -u)
packages+=(debian-reference-zh-tw apt dpkg login libpam-runtime libglib2.0-data python3)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "make_corpus.sh: as root, or install first: ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" > /dev/null
fi

# Only a folder this script made before is emptied.
if [ -d "$OUT" ] && [ -n "$(ls -A "$OUT")" ] && [ ! -f "$OUT/pages.tsv" ]; then
  echo "make_corpus.sh: $OUT holds other files; name a new or empty folder" >&2
  exit 1
fi
mkdir -p "$OUT"
rm -f "$OUT"/*.html
printf '# file\tlanguage\tgenerator\tcharset\tsource\n' > "$OUT/pages.tsv"

# The real pages, numbered in manifest order; a page installed compressed is unpacked.
n=0
while IFS=$'\t' read -r package language generator path; do
  [[ $package == \#* ]] && continue
  n=$((n + 1))
  base=$(basename "$path" .html)
  name=$(printf '%03d-%s-%s.html' "$n" "$package" "$base")
  if [ -f "$path" ]; then
    cp "$path" "$OUT/$name"
  elif [ -f "$path.gz" ]; then
    gunzip -c "$path.gz" > "$OUT/$name"
  else
    echo "make_corpus.sh: $path (from $package) is missing" >&2
    exit 1
  fi
  printf '%s\t%s\t%s\t\t%s\n' "$name" "$language" "$generator" "$package" >> "$OUT/pages.tsv"
done < "$MANIFEST"

# legacy NAME LANGUAGE CHARSET DECLARATION SOURCE...: a small page of real text in CHARSET,
# declared as DECLARATION says (see legacy_page.py). Characters the charset lacks are dropped.
legacy() {
  local name=$1 language=$2 charset=$3 declaration=$4
  shift 4
  local page=$OUT/legacy-$name.html
  python3 "$HERE/legacy_page.py" "$language" "$declaration" "$@" |
    iconv -c -f UTF-8 -t "$charset" > "$page" || true  # -c exits with 1 when it dropped some
  if [ ! -s "$page" ]; then
    echo "make_corpus.sh: could not make $page" >&2
    exit 1
  fi
  printf '%s\t%s\tlegacy\t%s\t%s\n' "$(basename "$page")" "$language" "$charset" "$*" >> "$OUT/pages.tsv"
}

faq=/usr/share/doc/debian/FAQ/ru
ref=/usr/share/debian-reference
mo=/usr/share/locale
greek=("$mo/el/LC_MESSAGES/apt.mo" "$mo/el/LC_MESSAGES/dpkg.mo")
hebrew=("$mo/he/LC_MESSAGES/shadow.mo" "$mo/he/LC_MESSAGES/Linux-PAM.mo"
        "$mo/he/LC_MESSAGES/glib20.mo")
legacy ru-koi8r-declared ru koi8-r meta=koi8-r "$faq/basic-defs.ru.html"
legacy ru-koi8r ru koi8-r - "$faq/basic-defs.ru.html"
legacy ru-cp1251-declared ru windows-1251 http-equiv=windows-1251 "$faq/choosing.ru.html"
legacy ru-cp1251 ru windows-1251 - "$faq/choosing.ru.html"
legacy el-iso88597-declared el iso-8859-7 meta=iso-8859-7 "${greek[@]}"
legacy el-iso88597 el iso-8859-7 - "${greek[@]}"
legacy he-cp1255-declared he windows-1255 http-equiv=windows-1255 "${hebrew[@]}"
legacy he-cp1255 he windows-1255 - "${hebrew[@]}"
legacy ja-sjis-declared ja shift_jis meta=shift_jis "$ref/ch01.ja.html"
legacy ja-sjis ja shift_jis - "$ref/ch01.ja.html"
legacy ja-eucjp-declared ja euc-jp http-equiv=euc-jp "$ref/ch02.ja.html"
legacy ja-eucjp ja euc-jp - "$ref/ch02.ja.html"
legacy zh-gbk-declared zh gbk meta=gbk "$ref/ch01.zh-cn.html"
legacy zh-gbk zh gbk - "$ref/ch01.zh-cn.html"
legacy zh-big5-declared zh big5 http-equiv=big5 "$ref/ch01.zh-tw.html"
legacy zh-big5 zh big5 - "$ref/ch01.zh-tw.html"

echo "$(grep -vc '^#' "$OUT/pages.tsv") pages in $OUT"
