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
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_config build/sanitize -DCMAKE_BUILD_TYPE=Debug -DENABLE_SANITIZERS=ON

bash scripts/fuzz.sh
