#!/usr/bin/env bash
# Builds Tagwright on a Debian machine (installing what is missing) and runs every test:
# the core and command-line tests, the window tests on Qt's offscreen platform, and the site
# report in headless Chromium. The build is the dev preset's (build-test), which scripts/run.sh
# uses too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium
cmake --preset dev > /dev/null
cmake --build --preset dev -j"$(nproc)"
scripts/ctest.sh build-test -j"$(nproc)"
