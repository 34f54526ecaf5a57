#!/bin/sh
# Refreshes the screenshots of the user manual (docs/images/*.png): builds the screenshot tool
# and runs the real windows on docs/sample-page.html under a virtual X server.
#
#   scripts/screenshots.sh [BUILD_DIR]      (default: build-screenshots beside the sources)
#
# Needs the Debian packages xvfb and xauth (for xvfb-run), cmake, g++, qt6-base-dev and the
# fonts fonts-liberation and fonts-dejavu-core. With openbox installed the windows get title
# bars in the pictures; without it they are taken bare.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-screenshots"}

for tool in xvfb-run xauth cmake; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 2; }
done

cmake -S "$root" -B "$build" -DTAGWRIGHT_TOOLS=ON -DTAGWRIGHT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target tagwright_screenshots

# Inside the virtual display: a window manager if there is one, then the tool.
session='
  wm=""
  if command -v openbox >/dev/null; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
  fi
  status=0
  "$0" "$1" "$2" || status=$?
  if [ -n "$wm" ]; then kill "$wm"; fi
  exit "$status"
'

# A fixed screen and the X platform whatever the caller's environment says; English texts.
QT_QPA_PLATFORM=xcb LANG=C.UTF-8 LC_ALL=C.UTF-8 \
  xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -dpi 96" \
  sh -c "$session" "$build/tools/screenshots/tagwright_screenshots" \
  "$root/docs/sample-page.html" "$root/docs/images"
