#!/usr/bin/env bash
# Runs a command with a private sound server (a PulseAudio null sink named
# "test") and a virtual X display, both torn down afterwards. Tests find them
# through the exported variables; TONSMITH_SERVICES=1 tells them the services
# are meant to be there, so a missing one is a failure rather than a skip.
set -euo pipefail

rt=$(mktemp -d /tmp/tonsmith-rt.XXXXXX)
chmod 700 "$rt"
export XDG_RUNTIME_DIR="$rt"
export PULSE_SERVER="unix:$rt/pulse/native"
xvfb_pid=""

# The servers are asked to end and waited for (5 s at most) before their
# folder goes, so none of them writes into a folder being removed.
cleanup() {
  local pulse_pid=""
  if [ -f "$rt/pulse/pid" ]; then pulse_pid=$(cat "$rt/pulse/pid" 2>/dev/null || true); fi
  if [ -n "$pulse_pid" ]; then kill -TERM "$pulse_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill -TERM "$xvfb_pid" 2>/dev/null || true; fi
  for _ in $(seq 50); do
    if { [ -z "$pulse_pid" ] || ! kill -0 "$pulse_pid" 2>/dev/null; } &&
      { [ -z "$xvfb_pid" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; }; then
      break
    fi
    sleep 0.1
  done
  rm -rf "$rt" || true
}
trap cleanup EXIT

pulseaudio --daemonize=yes -n --exit-idle-time=-1 --use-pid-file=yes \
  --load="module-null-sink sink_name=test rate=44100 format=s16le channels=2 norewinds=1" \
  --load=module-native-protocol-unix >/dev/null 2>&1 || echo "warning: PulseAudio did not start" >&2
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

# Xvfb takes the first free display itself and says which: two runs side by
# side never share one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$rt/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$rt/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$rt/display")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

export TONSMITH_SERVICES=1
# The command's own status is ours, whatever the clean-up does.
status=0
"$@" || status=$?
trap - EXIT
cleanup
exit "$status"
