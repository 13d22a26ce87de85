#!/usr/bin/env bash
# Installs what is missing, builds Cadenzio in Release and runs it.
# Usage: ./run.sh [ARGS...]   (with no ARGS: the command-line tool's help)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing "${CADENZIO_RUN_PACKAGES[@]}"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCADENZIO_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target cadenzio-cli
if [ $# -eq 0 ]; then
  exec build/release/cadenzio-cli --help
fi
exec build/release/cadenzio-cli "$@"
