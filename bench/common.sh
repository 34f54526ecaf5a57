# Shared by the benchmark scripts: messages, package installs, /usr/bin/time and the build of
# tagwright-cli.

note() { printf '%s\n' "$*" >&2; }

# Installs Debian packages when we may; false when that is not possible.
apt_install() {
  [[ $(id -u) == 0 ]] && command -v apt-get >/dev/null || return 1
  apt-get install -y -q "$@" >/dev/null 2>&1 ||
    { apt-get update -q >/dev/null 2>&1 && apt-get install -y -q "$@" >/dev/null 2>&1; }
}

# Sets TIME to /usr/bin/time, which gives the maximum resident set size, installing it when
# missing, and checks for python3, which builds the pages.
find_tools() {
  TIME=/usr/bin/time
  if [[ ! -x $TIME ]]; then
    note "Installing time (for the maximum resident set size)..."
    apt_install time || note "warning: /usr/bin/time is missing"
  fi
  command -v python3 >/dev/null || { note "python3 is needed to build the pages"; exit 1; }
}

# Sets CLI: builds tagwright-cli (Release, without the window and the tests) in BUILD_DIR
# from the sources in ROOT, unless CLI already names one.
build_cli() {
  if [[ -z $CLI ]]; then
    note "Building tagwright-cli (Release) in $BUILD_DIR..."
    mkdir -p "$BUILD_DIR"
    local log=$BUILD_DIR/bench-build.log
    if ! { cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DTAGWRIGHT_GUI=OFF \
              -DTAGWRIGHT_TESTS=OFF &&
            cmake --build "$BUILD_DIR" -j2 --target tagwright-cli; } >"$log" 2>&1; then
      note "The build failed; see $log"
      exit 1
    fi
    CLI=$BUILD_DIR/tagwright-cli
  fi
  [[ -x $CLI ]] || { note "No tagwright-cli at $CLI"; exit 1; }
}
