#!/usr/bin/env bash
# Builds Tagwright on a Debian machine (installing what is missing) and starts the window.
# Usage: scripts/run.sh [arguments for tagwright]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTAGWRIGHT_TESTS=OFF > /dev/null
cmake --build build -j"$(nproc)"
exec build/tagwright "$@"
