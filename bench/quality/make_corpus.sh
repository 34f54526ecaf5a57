#!/usr/bin/env bash
# Builds the quality benchmark's pages in CORPUS_DIR: the real pages that Debian packages
# install, listed in manifest.tsv, and small pages in legacy encodings made with iconv from
# real text. CORPUS_DIR/pages.tsv lists every page with its language, its generator and, for
# the legacy pages, the charset it is written in, and the half it belongs to (tune or check).
# See bench/quality/README.md.
# Usage: bench/quality/make_corpus.sh [CORPUS_DIR]   (default /tmp/tagwright-quality)
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUT=${1:-/tmp/tagwright-quality}
MANIFEST=$HERE/manifest.tsv

# The packages of the manifest, and those whose text the legacy pages are made from.
mapfile -t packages < <(grep -v '^#' "$MANIFEST" | cut -f1 | sort -u)
packages+=(debian-reference-zh-tw apt dpkg login libpam-runtime libglib2.0-data python3 groff perl)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -qE "install ok (installed|triggers-pending|triggers-awaited)" ||
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
printf '# file\tlanguage\tgenerator\tcharset\tsource\thalf\n' > "$OUT/pages.tsv"

# The real pages, numbered in manifest order; a page installed compressed is unpacked, a Perl
# pod page and a manual page are converted to HTML.
n=0
while IFS=$'\t' read -r package language generator path half; do
  [[ $package == \#* ]] && continue
  n=$((n + 1))
  base=$(basename "$path" .html)
  name=$(printf '%03d-%s-%s.html' "$n" "$package" "$base")
  if [ "$generator" = pod2html ]; then
    pod2html --quiet --cachedir="$OUT" --infile="$path" --outfile="$OUT/$name"
    rm -f "$OUT"/pod2htm*.tmp
  elif [ "$generator" = groff ]; then
    # A page installed compressed; preconv turns its letters into groff's escapes.
    gunzip -c "$path.gz" | preconv -e utf-8 | groff -Thtml -man -Kutf8 2> /dev/null > "$OUT/$name"
  elif [ -f "$path" ]; then
    cp "$path" "$OUT/$name"
  elif [ -f "$path.gz" ]; then
    gunzip -c "$path.gz" > "$OUT/$name"
  else
    echo "make_corpus.sh: $path (from $package) is missing" >&2
    exit 1
  fi
  printf '%s\t%s\t%s\t\t%s\t%s\n' "$name" "$language" "$generator" "$package" "$half" >> "$OUT/pages.tsv"
done < "$MANIFEST"

# legacy NAME HALF LANGUAGE CHARSET DECLARATION SOURCE...: a small page of real text in
# CHARSET, declared as DECLARATION says (see legacy_page.py); a NAME with "short" holds only
# about 300 characters. Characters the charset lacks are dropped. The two pages made from one
# text belong to the same half: pairs alternate, the first for tuning.
legacy() {
  local name=$1 half=$2 language=$3 charset=$4 declaration=$5
  shift 5
  local page=$OUT/legacy-$name.html size=()
  [[ $name == *short* ]] && size=(--chars 300)
  python3 "$HERE/legacy_page.py" "${size[@]}" "$language" "$declaration" "$@" |
    iconv -c -f UTF-8 -t "$charset" > "$page" || true  # -c exits with 1 when it dropped some
  if [ ! -s "$page" ]; then
    echo "make_corpus.sh: could not make $page" >&2
    exit 1
  fi
  printf '%s\t%s\tlegacy\t%s\t%s\t%s\n' "$(basename "$page")" "$language" "$charset" "$*" \
    "$half" >> "$OUT/pages.tsv"
}

faq=/usr/share/doc/debian/FAQ/ru
ref=/usr/share/debian-reference
mo=/usr/share/locale
apache=/usr/share/doc/apache2-doc/manual
handbook=/usr/share/doc/debian-handbook/html
greek=("$mo/el/LC_MESSAGES/apt.mo" "$mo/el/LC_MESSAGES/dpkg.mo")
hebrew=("$mo/he/LC_MESSAGES/shadow.mo" "$mo/he/LC_MESSAGES/Linux-PAM.mo"
        "$mo/he/LC_MESSAGES/glib20.mo")
legacy ru-koi8r-declared tune ru koi8-r meta=koi8-r "$faq/basic-defs.ru.html"
legacy ru-koi8r tune ru koi8-r - "$faq/basic-defs.ru.html"
legacy ru-cp1251-declared check ru windows-1251 http-equiv=windows-1251 "$faq/choosing.ru.html"
legacy ru-cp1251 check ru windows-1251 - "$faq/choosing.ru.html"
legacy el-iso88597-declared tune el iso-8859-7 meta=iso-8859-7 "${greek[@]}"
legacy el-iso88597 tune el iso-8859-7 - "${greek[@]}"
legacy he-cp1255-declared check he windows-1255 http-equiv=windows-1255 "${hebrew[@]}"
legacy he-cp1255 check he windows-1255 - "${hebrew[@]}"
legacy ja-sjis-declared tune ja shift_jis meta=shift_jis "$ref/ch01.ja.html"
legacy ja-sjis tune ja shift_jis - "$ref/ch01.ja.html"
legacy ja-eucjp-declared check ja euc-jp http-equiv=euc-jp "$ref/ch02.ja.html"
legacy ja-eucjp check ja euc-jp - "$ref/ch02.ja.html"
legacy zh-gbk-declared tune zh gbk meta=gbk "$ref/ch01.zh-cn.html"
legacy zh-gbk tune zh gbk - "$ref/ch01.zh-cn.html"
legacy zh-big5-declared check zh big5 http-equiv=big5 "$ref/ch01.zh-tw.html"
legacy zh-big5 check zh big5 - "$ref/ch01.zh-tw.html"
legacy ko-euckr-declared tune ko euc-kr meta=euc-kr "$mo/ko/LC_MESSAGES/apt.mo"
legacy ko-euckr tune ko euc-kr - "$mo/ko/LC_MESSAGES/apt.mo"
legacy zh-gbk-short-declared check zh gbk meta=gbk "$handbook/zh-CN/sect.apt-get.html"
legacy zh-gbk-short check zh gbk - "$handbook/zh-CN/sect.apt-get.html"
legacy ja-sjis-short-declared tune ja shift_jis http-equiv=shift_jis "$apache/ja/bind.html"
legacy ja-sjis-short tune ja shift_jis - "$apache/ja/bind.html"
legacy ko-euckr-short-declared check ko euc-kr http-equiv=euc-kr "$mo/ko/LC_MESSAGES/dpkg.mo"
legacy ko-euckr-short check ko euc-kr - "$mo/ko/LC_MESSAGES/dpkg.mo"
legacy zh-big5-short-declared tune zh big5 meta=big5 "$handbook/zh-TW/sect.apt-get.html"
legacy zh-big5-short tune zh big5 - "$handbook/zh-TW/sect.apt-get.html"
legacy ja-eucjp-short-declared check ja euc-jp meta=euc-jp "$handbook/ja-JP/sect.apt-get.html"
legacy ja-eucjp-short check ja euc-jp - "$handbook/ja-JP/sect.apt-get.html"

echo "$(grep -vc '^#' "$OUT/pages.tsv") pages in $OUT"
