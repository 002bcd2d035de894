#!/usr/bin/env bash
# Installs what is missing, then configures, builds and runs every test in
# two configurations: a release build with warnings as errors, and a debug
# build with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_config() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DWARNINGS_AS_ERRORS=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

run_config build/release -DCMAKE_BUILD_TYPE=Release
# The plan view's screen sequences once more on a real X display (Xvfb, the
# xcb platform), where the pixels come back from the X server.
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
    build/release/tests/siteplan/host/siteplan_host_tests --gtest_filter='Sequences/*'
fi
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_config build/sanitize -DCMAKE_BUILD_TYPE=Debug -DENABLE_SANITIZERS=ON

bash scripts/fuzz.sh
