#!/usr/bin/env bash
# Builds the Debian packages tagwright (the window program) and tagwright-cli (the command-line
# tool) in a Release build of their own, with Debian's hardening flags:
#
#   scripts/package.sh [BUILD_DIR]        (default: build-package beside the sources)
#
# The packages land in BUILD_DIR as tagwright_VERSION_ARCH.deb and
# tagwright-cli_VERSION_ARCH.deb; install them with
#   apt install ./build-package/tagwright_*.deb ./build-package/tagwright-cli_*.deb
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-package"}

"$root/scripts/install-deps.sh"

# Debian's compiler and linker flags (hardening, and source paths recorded relative to the
# source tree), the same as a Debian package build would use.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS

# A fresh configuration, so that flags of an earlier run cannot linger in the cache.
rm -f "$build/CMakeCache.txt"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAGWRIGHT_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_STRIP="$root/packaging/strip.sh" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/*.deb
