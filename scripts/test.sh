#!/usr/bin/env bash
# Builds Tagwright on a Debian machine (installing what is missing) and runs every test:
# the core and command-line tests, the window tests on Qt's offscreen platform, and the site
# report in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh chromium
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAGWRIGHT_WERROR=ON > /dev/null
cmake --build build-test -j"$(nproc)"
scripts/ctest.sh build-test -j"$(nproc)"
