#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan), writes seed corpora
# with the program's own writers, runs every target for a while and prints,
# per target, the executions run and the crashes found.
#   scripts/fuzz.sh [--quick | --seconds N] [target ...]
# --quick runs each target 20 s (what CI does); the default is 600 s.
# Crashing inputs land in fuzz-out/crashes/<target>/; copy them into
# tests/data/fuzz-regressions/<target>/ so the ordinary tests replay them.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
seed_opt=()
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) seconds=20; seed_opt=(-seed=1) ;;
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
./build-fuzz/fuzz/seedgen "$out/corpus"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
clean=0
bad=0
printf '%-22s %12s %8s\n' target executions crashes
for t in "${targets[@]}"; do
  corpus="$out/corpus/$t"
  crashes="$out/crashes/$t"
  rm -rf "$crashes"
  mkdir -p "$corpus" "$crashes"
  log="$out/$t.log"
  # A reader may not allocate more than a small multiple of its input: inputs
  # are at most 64 KiB, so one allocation of 32 MiB is already a fault.
  set +e
  "./build-fuzz/fuzz/$t" "$corpus" -max_total_time="$seconds" -max_len=65536 \
    -malloc_limit_mb=32 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "${seed_opt[@]}" >"$log" 2>&1
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
