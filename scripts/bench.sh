#!/usr/bin/env bash
# Builds the benchmark optimised and runs it: the ten-year boutique at 1x and
# 10x scale, medians of several runs. Extra arguments go to the benchmark
# (--runs N, --scales 1,10, --only NAME,..., --dir FOLDER).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVAR_TESTS=OFF -DTILVAR_BENCH=ON >/dev/null
cmake --build build-bench --target bench_boutique
exec ./build-bench/bench/bench_boutique "$@"
