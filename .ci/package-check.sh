#!/usr/bin/env bash
# The packaging part of CI: builds the Debian packages with scripts/package.sh and checks them:
#  - lintian finds no errors (every tag is printed);
#  - the desktop entry, the AppStream metadata and both manual pages validate;
#  - each package holds exactly the files listed in packaging/<package>.contents, and
#    `cmake --install` into a temporary root lays out the same files;
#  - the icons have the sizes their folders name;
#  - tagwright-cli neither depends on nor links Qt, and recommends bash-completion;
#  - no installed file holds the path of the build machine's source or build tree;
#  - the installed tagwright-cli runs.
#
# Environment: PACKAGE_DIR (build folder, default build-package), NO_APT=1 to skip installing
# packages.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${PACKAGE_DIR:-$ROOT/build-package}

step() { printf '\n=== %s (%s)\n' "$*" "$(date -u +%H:%M:%S)"; }
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if [[ ${NO_APT:-0} != 1 && $(id -u) == 0 ]]; then
  step "Installing packages"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends lintian desktop-file-utils appstream man-db \
    groff-base binutils dpkg-dev fakeroot scdoc librsvg2-bin
fi

step "Building the packages in $BUILD"
"$ROOT/scripts/package.sh" "$BUILD"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
gui=$BUILD/tagwright_${version}_${arch}.deb
cli=$BUILD/tagwright-cli_${version}_${arch}.deb
for deb in "$gui" "$cli"; do [[ -f $deb ]] || { echo "no package $deb" >&2; exit 1; }; done

step "lintian"
# Root may run lintian in CI's throwaway machine; its warning about that is not about us.
lintian --pedantic --info --display-info --fail-on error "$gui" "$cli" || fail "lintian errors"

step "Contents of the packages"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Regular files and links of a package, one path a line, as in packaging/*.contents.
listed() { grep -v '^#' "$1" | LC_ALL=C sort; }
for deb in "$gui" "$cli"; do
  package=$(dpkg-deb -f "$deb" Package)
  dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | LC_ALL=C sort \
    >"$work/$package.found"
  if ! diff -u <(listed "$ROOT/packaging/$package.contents") "$work/$package.found"; then
    fail "$package holds other files than packaging/$package.contents lists"
  fi
  mkdir -p "$work/root"
  dpkg-deb --extract "$deb" "$work/root"
done

step "cmake --install into a temporary root"
DESTDIR="$work/destdir" cmake --install "$BUILD" >/dev/null
(cd "$work/destdir" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$work/installed"
if ! diff -u <(cat "$ROOT"/packaging/*.contents | grep -v '^#' | LC_ALL=C sort) \
    "$work/installed"; then
  fail "cmake --install lays out other files than the packages"
fi

step "Desktop entry, AppStream metadata, manual pages"
desktop-file-validate "$work"/root/usr/share/applications/*.desktop || fail "desktop entry"
grep -qx 'Exec=tagwright %f' "$work"/root/usr/share/applications/*.desktop ||
  fail "the desktop entry does not open a page with tagwright"
grep -qx 'MimeType=text/html;' "$work"/root/usr/share/applications/*.desktop ||
  fail "the desktop entry does not offer to open HTML pages"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml ||
  fail "AppStream metadata"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" >/dev/null 2>"$work/man.log" || true
  if [[ -s $work/man.log ]]; then
    cat "$work/man.log"
    fail "man reports problems in $(basename "$page")"
  fi
done
# The command-line page documents every option that the tool's help lists (the lines that
# begin with an option, such as "  -j, --jobs N").
options=$("$work/root/usr/bin/tagwright-cli" --help |
  grep -oE -- '^ +-[a-z-]*[a-z](, --[a-z][a-z-]*)?' | tr ',' '\n' | tr -d ' ' | LC_ALL=C sort -u)
echo "Options in --help: $(echo $options)"
[[ $options == *--recursive* ]] || fail "no options found in tagwright-cli --help"
cli_page=$(zcat "$work/root/usr/share/man/man1/tagwright-cli.1.gz")
for option in $options; do
  # Bold, as scdoc writes *--option*.
  grep -qF -- "\\fB$option" <<<"$cli_page" || fail "tagwright-cli(1) does not document $option"
done

step "Icon sizes"
for png in "$work"/root/usr/share/icons/hicolor/*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  # A PNG's width and height are the big-endian numbers at bytes 16 and 20.
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
  height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
  [[ ${width}x${height} == "$size" ]] || fail "$png is ${width}x${height}"
done

step "tagwright-cli without Qt"
depends=$(dpkg-deb -f "$cli" Depends)
echo "Depends: $depends"
if grep -qi 'qt' <<<"$depends"; then fail "tagwright-cli depends on Qt"; fi
if readelf -d "$work/root/usr/bin/tagwright-cli" | grep -i 'NEEDED.*qt'; then
  fail "tagwright-cli links Qt"
fi
dpkg-deb -f "$gui" Depends | grep -q 'libqt6widgets6' || fail "tagwright lacks its Qt dependency"
# Its completion file works only where bash-completion is installed.
dpkg-deb -f "$cli" Recommends | grep -qw 'bash-completion' ||
  fail "tagwright-cli does not recommend bash-completion"
# apply reads the head with gumbo's HTML parser: the library must come with the package.
grep -q 'libgumbo' <<<"$depends" || fail "tagwright-cli lacks its gumbo dependency"

step "No path of the build machine in the installed files"
for tree in "$ROOT" "$BUILD"; do
  # Qt keeps string literals in UTF-16, so look at both 8-bit and 16-bit strings.
  for binary in "$work"/root/usr/bin/*; do
    if strings -a "$binary" | grep -F -- "$tree" ||
        strings -a -el "$binary" | grep -F -- "$tree"; then
      fail "$(basename "$binary") holds the path $tree"
    fi
  done
  if grep -rlF -- "$tree" "$work/root"; then fail "an installed file holds the path $tree"; fi
  if zcat "$work"/root/usr/share/man/man1/*.gz | grep -F -- "$tree"; then
    fail "a manual page holds the path $tree"
  fi
done
[[ ! -e $work/root/usr/bin/tagwright-build-tree.txt ]] || fail "the build-tree marker is installed"
# The installed program looks for its manual relative to itself.
strings -a -el "$work/root/usr/bin/tagwright" | grep -qx '../share/doc/tagwright/manual.html' ||
  fail "tagwright does not look for its manual in ../share/doc/tagwright"

step "The installed tagwright-cli runs"
"$work/root/usr/bin/tagwright-cli" list "$work/root/usr/share/doc/tagwright/sample-page.html" \
  >"$work/list.txt" || fail "tagwright-cli list on the sample page"
head -n 3 "$work/list.txt"

if ((failures > 0)); then
  echo "$failures packaging check(s) failed" >&2
  exit 1
fi
step "Packaging checks passed"
