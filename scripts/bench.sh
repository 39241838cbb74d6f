#!/usr/bin/env bash
# Runs every benchmark of the plain build, then the measuring scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
for b in build/bin/bench_*; do
  [ -x "$b" ] && "$b"
done
bash bench/startup/window_shown.sh build/bin/quillanvero
