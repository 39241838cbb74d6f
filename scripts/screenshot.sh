#!/usr/bin/env bash
# Draws the main window into docs/main-window.png, on simulated sound cards.
# Builds nothing: run after building the program and its window tests
# (the tool main_window_snapshot lives beside them).
#   scripts/screenshot.sh [build-dir] [output.png]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
output="${2:-$root/docs/main-window.png}"
tool="$build/bin/main_window_snapshot"

if [[ ! -x "$tool" ]]; then
    echo "screenshot: $tool is missing; build the target main_window_snapshot first" >&2
    exit 1
fi
mkdir -p "$(dirname "$output")"
settings="$(mktemp --suffix=.ini)"
trap 'rm -f "$settings"' EXIT

# A real X server (Xvfb) when there is one to start; Qt's offscreen platform otherwise.
if command -v xvfb-run >/dev/null 2>&1; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$tool" "$output" "$settings"
else
    QT_QPA_PLATFORM=offscreen "$tool" "$output" "$settings"
fi
echo "screenshot: wrote $output"
