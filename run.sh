#!/usr/bin/env bash
# Installs what is missing, builds Cadenzio in Release and runs it.
# Usage: ./run.sh [MOVIE] [CAPTION]   the editor window (movie and caption in either order;
#                                     with no arguments the sample movie and caption)
#        ./run.sh cli ARGS...         the command-line tool cadenzio-cli
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing "${CADENZIO_RUN_PACKAGES[@]}"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCADENZIO_BENCH=OFF \
      -DCADENZIO_GUI=ON >/dev/null
if [ "${1:-}" = cli ]; then
  shift
  cmake --build build/release -j"$(nproc)" --target cadenzio-cli
  if [ $# -eq 0 ]; then
    exec build/release/cadenzio-cli --help
  fi
  exec build/release/cadenzio-cli "$@"
fi
cmake --build build/release -j"$(nproc)" --target cadenzio
if [ $# -eq 0 ]; then
  set -- resources/sample/sample.mp4 resources/sample/sample.smi
fi
exec build/release/cadenzio "$@"
