#!/usr/bin/env bash
# Installs what is needed, builds TilvarBD and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVAR_TESTS=OFF -DTILVAR_BENCH=OFF >/dev/null
cmake --build build --target tilvarbd tlvdb
exec ./build/bin/tilvarbd "$@"
