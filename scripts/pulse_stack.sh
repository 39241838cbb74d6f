#!/usr/bin/env bash
# Runs a command inside a private PulseAudio sound server with two null sinks,
# "radio" and "tv", and stops the server however the command ends.
#
#   scripts/pulse_stack.sh COMMAND [ARGS...]
#
# The command sees:
#   PULSE_SERVER        the private server's socket
#   PULSE_SOURCE        radio.monitor (what ALSA's "default" captures)
#   PULSE_SINK          tv            (where ALSA's "default" plays)
#   ALSA_CONFIG_PATH    a config whose "default" PCM is the pulse plugin, plus the
#                       PCMs radio, radio_monitor, tv and tv_monitor (with hints)
#   QV_PULSE_STACK=1
#   QV_PULSE_PID        the server's process id (a test may stop it)
#   TSAN_OPTIONS        plus suppressions for libpulse's internal races
# Works as a normal user and as root. Without pulseaudio it exits 77 (skip), or
# fails when CI=true.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi

if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  if [ "${CI:-}" = "true" ]; then
    echo "pulse_stack: pulseaudio/pactl not found; the real-audio tests cannot run in CI" >&2
    exit 1
  fi
  echo "pulse_stack: pulseaudio not found, skipping" >&2
  exit 77
fi

stack_dir=$(mktemp -d "${TMPDIR:-/tmp}/qv-pulse.XXXXXX")
pulse_pid=""

cleanup() {
  if [ -n "$pulse_pid" ] && kill -0 "$pulse_pid" 2>/dev/null; then
    kill "$pulse_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pulse_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pulse_pid" 2>/dev/null || true
  fi
  rm -rf "$stack_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$stack_dir/runtime" "$stack_dir/home"
chmod 700 "$stack_dir/runtime"
socket="$stack_dir/runtime/native"

# The server and its clients get their own runtime, home and config folders.
export XDG_RUNTIME_DIR="$stack_dir/runtime"
export PULSE_RUNTIME_PATH="$stack_dir/runtime"
export PULSE_STATE_PATH="$stack_dir/runtime"
export XDG_CONFIG_HOME="$stack_dir/home/.config"
export HOME="$stack_dir/home"
unset DBUS_SESSION_BUS_ADDRESS DISPLAY || true

pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --disallow-exit \
  --use-pid-file=no --disable-shm=yes --log-target=stderr --log-level=error \
  -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
  -L "module-null-sink sink_name=radio sink_properties=device.description=Radio" \
  -L "module-null-sink sink_name=tv sink_properties=device.description=TV" \
  2>"$stack_dir/pulseaudio.log" &
pulse_pid=$!
disown "$pulse_pid" 2>/dev/null || true

export PULSE_SERVER="unix:$socket"
ready=0
for _ in $(seq 100); do
  if pactl info >/dev/null 2>&1; then
    ready=1
    break
  fi
  kill -0 "$pulse_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$ready" -ne 1 ]; then
  echo "pulse_stack: the sound server did not start:" >&2
  cat "$stack_dir/pulseaudio.log" >&2 || true
  exit 1
fi

alsa_conf="$stack_dir/asound.conf"
cat >"$alsa_conf" <<ALSA
</usr/share/alsa/alsa.conf>
pcm.!default { type pulse hint { show on description "Default (PulseAudio)" } }
ctl.!default { type pulse }
pcm.radio { type pulse device "radio" hint { show on description "Radio" } }
pcm.radio_monitor { type pulse device "radio.monitor" hint { show on description "Radio monitor" } }
pcm.tv { type pulse device "tv" hint { show on description "TV" } }
pcm.tv_monitor { type pulse device "tv.monitor" hint { show on description "TV monitor" } }
pcm.no_server { type pulse server "unix:$stack_dir/nothing-here" hint { show on description "No server" } }
ALSA
export ALSA_CONFIG_PATH="$alsa_conf"
export PULSE_SOURCE=radio.monitor
export PULSE_SINK=tv
export QV_PULSE_STACK=1
export QV_PULSE_PID="$pulse_pid"

# libpulse's own threads share buffers in ways ThreadSanitizer cannot follow
# (the library is not instrumented): keep its reports about libpulse internals out.
cat >"$stack_dir/tsan.supp" <<SUPP
race:libpulsecommon
race:libpulse.so
SUPP
export TSAN_OPTIONS="${TSAN_OPTIONS:-} suppressions=$stack_dir/tsan.supp"

status=0
"$@" || status=$?
exit "$status"
