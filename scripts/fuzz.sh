#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a short,
# bounded time, seeded with the files the release tests wrote. Skipped where
# clang is absent or no target exists yet.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzz targets skipped"
  exit 0
fi
if [ -z "$(find tests -name '*_fuzz.cpp' -print -quit)" ]; then
  echo "no fuzz targets yet"
  exit 0
fi

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DBUILD_FUZZERS=ON
cmake --build build/fuzz -j "$(nproc)" --target fuzzers
for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus="build/fuzz/corpus-run/$name"
  mkdir -p "$corpus"
  if [ -d "build/release/corpus/$name" ]; then
    cp -n build/release/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  fi
  echo "fuzzing $name for ${FUZZ_SECONDS:-30} s"
  "$target" -max_total_time="${FUZZ_SECONDS:-30}" -rss_limit_mb=2048 "$corpus"
done
