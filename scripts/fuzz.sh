#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan), runs every target
# and prints, per target, the executions run and the crashes found.
#   scripts/fuzz.sh [--quick | --runs N | --seconds N] [target ...]
# Default: the long campaign, 600 s per target, from a corpus that grows in
# fuzz-out/corpus/ (seeded with fuzz/seeds/, the program's own writers'
# output and the regression inputs).
# --runs N: the deterministic pass: seed 1 and exactly N inputs per target,
# starting from the committed seeds (fuzz/seeds/<target>/) and regression
# inputs only, so a commit gives the same answer on every machine.
# --quick is --runs 4000, the pass ./scripts/test.sh runs.
# Crashing inputs land in fuzz-out/crashes/<target>/; copy them into
# tests/data/fuzz-regressions/<target>/ so the ordinary tests replay them.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
runs=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) runs=4000 ;;
    --runs) runs="$2"; shift ;;
    --seconds) seconds="$2"; shift ;;
    *) targets+=("$1") ;;
  esac
  shift
done

./scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTILVAR_FUZZ=ON -DTILVAR_TESTS=OFF -DTILVAR_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_all >/dev/null

if [ ${#targets[@]} -eq 0 ]; then
  for f in build-fuzz/fuzz/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] && targets+=("$(basename "$f")")
  done
fi

out=fuzz-out
mkdir -p "$out"
if [ "$runs" -gt 0 ]; then
  limit=(-runs="$runs" -seed=1)
else
  limit=(-max_total_time="$seconds")
  ./build-fuzz/fuzz/seedgen "$out/corpus"
fi

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
clean=0
bad=0
printf '%-22s %12s %8s\n' target executions crashes
for t in "${targets[@]}"; do
  corpus="$out/corpus/$t"
  crashes="$out/crashes/$t"
  if [ "$runs" -gt 0 ]; then
    # A fresh corpus each time: libFuzzer adds what it finds to it.
    corpus="$out/pass/$t"
    rm -rf "$corpus"
  fi
  rm -rf "$crashes"
  mkdir -p "$corpus" "$crashes"
  for d in "fuzz/seeds/$t" "tests/data/fuzz-regressions/$t"; do
    if [ -d "$d" ]; then cp -n "$d"/* "$corpus"/ 2>/dev/null || true; fi
  done
  log="$out/$t.log"
  # A reader may not allocate more than a small multiple of its input: inputs
  # are at most 64 KiB, so one allocation of 32 MiB is already a fault.
  set +e
  "./build-fuzz/fuzz/$t" "$corpus" "${limit[@]}" -max_len=65536 \
    -malloc_limit_mb=32 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$crashes/" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1 || true)
  found=$(find "$crashes" -type f | wc -l)
  printf '%-22s %12s %8s\n' "$t" "${execs:-?}" "$found"
  if [ $rc -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    bad=$((bad + 1))
    tail -n 30 "$log"
  else
    clean=$((clean + 1))
  fi
done
echo "fuzz: $clean passed, $bad failed"
exit $failed
