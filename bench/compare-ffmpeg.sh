#!/usr/bin/env bash
# Times the SRT export of cadenzio-cli against FFmpeg's SAMI-to-SRT conversion
# on the same generated 50 MB two-class SAMI file (code page 949), best of
# three runs each. Only the figures go to stdout; its last line is
# "ratio: N", FFmpeg's time over ours.
#
# Usage: bench/compare-ffmpeg.sh [MB]     (default 50)
# Installs Debian's ffmpeg with apt-get when it is missing and builds the
# Release tree build/release when needed. Run it on a quiet machine.
set -euo pipefail
shopt -s inherit_errexit

readonly MEGABYTES="${1:-50}"
readonly RUNS=3
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly ROOT
readonly BUILD="$ROOT/build/release"

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

if ! command -v ffmpeg >/dev/null 2>&1; then
  echo "installing ffmpeg..." >&2
  as_root apt-get update >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ffmpeg >&2
fi

if [[ ! -f "$BUILD/CMakeCache.txt" ]]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >&2
fi
cmake --build "$BUILD" -j2 --target cadenzio-cli make-sami >&2
readonly CLI="$BUILD/cadenzio-cli"
readonly MAKE_SAMI="$BUILD/bench/make-sami"
if [[ ! -x "$MAKE_SAMI" ]]; then
  echo "make-sami was not built: the bench folder needs Google Benchmark (libbenchmark-dev)" >&2
  exit 1
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
readonly IN="$WORK/captions.smi"
"$MAKE_SAMI" "$MEGABYTES" "$IN" >&2

# Seconds taken by one run of the command given; its output is discarded,
# but a failing run stops the comparison.
seconds() {
  local start end
  start=$(date +%s%N)
  if ! "$@" >/dev/null 2>&1; then
    echo "failed: $*" >&2
    exit 1
  fi
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

# The smallest of RUNS timings of the command given.
best_of() {
  local best="" t
  for ((i = 0; i < RUNS; i++)); do
    t=$(seconds "$@")
    if [[ -z $best ]] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}

ours=$(best_of "$CLI" to-srt "$IN" "$WORK/ours.srt")
theirs=$(best_of ffmpeg -nostdin -y -sub_charenc CP949 -i "$IN" "$WORK/ffmpeg.srt")

echo "input: ${MEGABYTES} MB ($(stat -c %s "$IN") bytes), best of $RUNS"
echo "cadenzio-cli to-srt: ${ours} s ($(stat -c %s "$WORK/ours.srt") bytes written)"
echo "ffmpeg:              ${theirs} s ($(stat -c %s "$WORK/ffmpeg.srt") bytes written)"
awk -v ours="$ours" -v theirs="$theirs" 'BEGIN { printf "ratio: %.2f\n", theirs / (ours > 0 ? ours : 0.001) }'
