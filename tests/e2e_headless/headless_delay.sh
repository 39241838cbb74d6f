#!/usr/bin/env bash
# Runs `quillanvero --headless --delay 2.35 --save` between the radio and tv
# sinks of a private PulseAudio server (scripts/pulse_stack.sh), plays a click
# track into the radio, records both monitors and measures the delay heard.
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

parecord --latency-msec=20 --device=radio.monitor --file-format=wav --rate=44100 --channels=1 "$work/radio.wav" &
pids+=($!)
parecord --latency-msec=20 --device=tv.monitor --file-format=wav --rate=44100 --channels=1 "$work/tv.wav" &
pids+=($!)

"$program" --headless --delay "$delay" --save "$work/capture.wav" --settings "$work/settings.ini" \
  >"$work/program.out" 2>"$work/program.err" &
program_pid=$!
# Start the clicks once the program has opened its recording device.
for _ in $(seq 100); do
  grep -q "s\.$" "$work/program.out" 2>/dev/null && break
  if ! kill -0 "$program_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
# The clicks come once the playback side is past its start (the sound server
# takes a moment to get a new stream going); that start is reported separately.
sleep 1
paplay --device=radio "$work/click.wav"
# Let the last click come out of the tv, then stop the program as a service manager would.
sleep "$(python3 -c "print($delay + 1.5)")"
kill -TERM "$program_pid"
program_status=0
wait "$program_pid" || program_status=$?
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
python3 "$here/measure_delay.py" "$work/radio.wav" "$work/tv.wav" "$work/capture.wav" "$delay"
