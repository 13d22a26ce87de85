#!/usr/bin/env bash
# Installs what is missing, builds the whole project in Debug with
# AddressSanitizer and UBSan (clang, so the fuzz targets build too) and runs
# the test suite. The exit status is the suite's.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing "${CADENZIO_TEST_PACKAGES[@]}"
export CC=clang CXX=clang++
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DCADENZIO_SANITIZE=ON -DCADENZIO_FUZZ=ON \
      -DCADENZIO_BENCH=ON >/dev/null
cmake --build build/test -j"$(nproc)"
cd build/test
ctest --output-on-failure -j"$(nproc)" "$@"
