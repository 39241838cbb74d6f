#!/usr/bin/env bash
# Measures the time from starting the program to its main window being shown
# (mapped and viewable on an Xvfb display), on simulated sound cards.
#   bench/startup/window_shown.sh [PROGRAM] [RUNS]
# Prints each run and the median; needs Xvfb and xwininfo (x11-utils).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/bin/quillanvero}"
runs="${2:-5}"
title="Quillanvero Software"

if ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "window_shown: needs Xvfb and xwininfo, skipped" >&2
  exit 0
fi
work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb_pid=$!
cleanup() {
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done

times=()
for run in $(seq "$runs"); do
  start=$(date +%s%N)
  QUILLANVERO_WAVE_DRIVER=simulated QT_QPA_PLATFORM=xcb \
    "$program" --settings "$work/settings.ini" >/dev/null 2>&1 &
  pid=$!
  shown=""
  # Polls the X server for the window every few milliseconds, for at most 30 s.
  for _ in $(seq 6000); do
    if xwininfo -root -tree 2>/dev/null | grep -q "$title" &&
       xwininfo -name "  $title v.1.0.10" 2>/dev/null | grep -q "IsViewable"; then
      shown=$(date +%s%N)
      break
    fi
    sleep 0.005
  done
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ -z "$shown" ]; then
    echo "run $run: the window did not appear within 30 s" >&2
    exit 1
  fi
  ms=$(((shown - start) / 1000000))
  echo "run $run: window shown after $ms ms"
  times+=("$ms")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "window shown: median $median ms over $runs runs"
