#!/usr/bin/env bash
# Runs a window test program inside a fresh Xvfb server. Leak checking stays on;
# only the leak that libdbus keeps at exit is suppressed.
here="$(cd "$(dirname "$0")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1"
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
