#!/usr/bin/env bash
# Builds Tagwright on a Debian machine (installing what is missing) and starts the window.
# It builds only the window program, in the dev preset's build (build-test) that
# scripts/test.sh builds and tests: after a test run there is nothing left to build.
# Usage: scripts/run.sh [arguments for tagwright]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev > /dev/null
cmake --build --preset dev -j"$(nproc)" --target tagwright
exec build-test/tagwright "$@"
