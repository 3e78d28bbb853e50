#!/usr/bin/env bash
# Optimised host build without sanitizers, then every benchmark of bench/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DFADER_SANITIZE=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target fade_bench
build/bench/bench/fade_bench --benchmark_min_time=0.2 "$@"
