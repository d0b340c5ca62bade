#!/bin/sh
# Fuzzes Val and DigitText for the given number of seconds (default 60).
# Usage: fuzz/run.sh [seconds]   (from the repository root)
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_BUILD_FUZZERS=ON -DVELMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target velmora-fuzz-val
mkdir -p "$build/corpus" "$build/artifacts"
cd "$build"
exec ./fuzz/velmora-fuzz-val -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" "$build/corpus" "$root/fuzz/corpus"
