#!/usr/bin/env bash
# Installs what is needed, builds every test with AddressSanitizer and UBSan
# (warnings are errors) and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTILVAR_SANITIZE=ON -DTILVAR_WERROR=ON >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
if [ -x scripts/fuzz.sh ] && [ "${TILVAR_SKIP_FUZZ:-0}" != 1 ]; then
  # The deterministic fuzz pass: seed 1, a fixed number of inputs per target.
  ./scripts/fuzz.sh --quick
fi
# The Debian package: built, its control data and file list read, and (as
# root) unpacked and started.
./scripts/check-package.sh
