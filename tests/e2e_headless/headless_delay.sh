#!/usr/bin/env bash
# Runs `quillanvero --headless --delay 2.35 --save` between the radio and tv
# sinks of a private PulseAudio server (scripts/pulse_stack.sh), plays a click
# track into the radio, records both monitors on one timeline and measures the
# delay heard.
#   headless_delay.sh PROGRAM [DELAY]
set -euo pipefail
program=$1
delay=${2:-2.35}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-e2e.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Ten clicks, one second apart, after half a second of silence.
sox -n -r 44100 -c 2 -b 16 "$work/click.wav" synth 0.005 square 1000 vol 0.9 pad 0.5 0.495 repeat 9

# A null sink's monitor only runs while something plays into the sink, so both
# sinks get endless silence: the recordings and the program then share one timeline.
for sink in radio tv; do
  pacat --playback --latency-msec=20 --device="$sink" --format=s16le --rate=44100 --channels=2 </dev/zero &
  pids+=($!)
done

python3 "$here/record_monitors.py" "$work" &
recorder_pid=$!
pids+=("$recorder_pid")
# wait_for FILE-TEST-COMMAND SECONDS: polls a condition, fails the test on time-out.
wait_for() {
  local what=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    eval "$what" && return 0
    sleep 0.1
  done
  echo "FAIL: timed out after ${seconds}s waiting for: $what" >&2
  exit 1
}
wait_for '[ -e "$work/recording" ]' 20

# The launch moment on the recorder's clock (CLOCK_MONOTONIC), for the report.
python3 -c "import time; print(time.monotonic())" >"$work/launched"
"$program" --headless --delay "$delay" --save "$work/capture.wav" --settings "$work/settings.ini" \
  >"$work/program.out" 2>"$work/program.err" &
program_pid=$!
# Start the clicks once the program has opened its recording device.
wait_for 'grep -q "s\.$" "$work/program.out" 2>/dev/null || ! kill -0 "$program_pid" 2>/dev/null' 20
paplay --device=radio "$work/click.wav"
# Let the last click come out of the tv, then stop the program as a service
# manager would.
wait_for '[ "$(cat "$work/tv_clicks" 2>/dev/null)" = 10 ] || ! kill -0 "$program_pid" 2>/dev/null' \
  "$(python3 -c "print(int($delay) + 30)")"
kill -TERM "$program_pid"
program_status=0
wait "$program_pid" || program_status=$?
# The recorder lets the last tv samples in before it writes its files.
for pid in "${pids[@]}"; do kill -INT "$pid" 2>/dev/null || true; done
for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
pids=()

echo "--- program output"
cat "$work/program.out"
cat "$work/program.err" >&2
if [ "$program_status" -ne 0 ]; then
  echo "FAIL: the program ended with status $program_status after SIGTERM" >&2
  exit 1
fi
[ -n "${QV_E2E_KEEP:-}" ] && cp "$work"/*.wav "$QV_E2E_KEEP"/
python3 "$here/measure_delay.py" "$work" "$delay"
