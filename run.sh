#!/usr/bin/env bash
# Installs what is missing, builds Tonsmith and starts it. When you have no
# settings yet, it first makes a small demo workspace (an orchestra, scores
# and a source sound) and a settings file pointing at it and at Debian's
# csound. An existing tk3.ini is never touched, nor any existing demo file.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target tonsmith

absolute() { case "${1:-}" in /*) return 0 ;; *) return 1 ;; esac; }

if absolute "${XDG_CONFIG_HOME:-}"; then
  config="$XDG_CONFIG_HOME/tonsmith"
elif absolute "${HOME:-}"; then
  config="$HOME/.config/tonsmith"
else
  echo "run.sh: neither XDG_CONFIG_HOME nor HOME is an absolute path; no settings folder" >&2
  exit 1
fi

if [ ! -e "$config/tk3.ini" ]; then
  if absolute "${XDG_DATA_HOME:-}"; then
    demo="$XDG_DATA_HOME/tonsmith/demo"
  else
    demo="$HOME/.local/share/tonsmith/demo"
  fi
  echo "No settings yet: making a demo workspace in $demo"
  mkdir -p "$demo"/{orchestras,scores,sounds,output,analysis} "$config"
  set -o noclobber # never replace a file that is already there
  [ -e "$demo/orchestras/sine.orc" ] || cat >"$demo/orchestras/sine.orc" <<'EOF'
sr = 44100
kr = 4410
ksmps = 10
nchnls = 1

instr 1
  kenv linseg 0, 0.05, 1, p3 - 0.1, 1, 0.05, 0
  asig oscili p4 * kenv, p5, 1
  out asig
endin
EOF
  [ -e "$demo/orchestras/pluck.orc" ] || cat >"$demo/orchestras/pluck.orc" <<'EOF'
sr = 44100
kr = 4410
ksmps = 10
nchnls = 1

instr 1
  asig pluck p4, p5, p5, 0, 1
  out asig
endin
EOF
  [ -e "$demo/scores/scale.sco" ] || cat >"$demo/scores/scale.sco" <<'EOF'
f1 0 8192 10 1 0.5 0.25
i1 0.0 0.4 10000 261.63
i1 0.5 0.4 10000 293.66
i1 1.0 0.4 10000 329.63
i1 1.5 0.4 10000 349.23
i1 2.0 0.9 10000 392.00
e
EOF
  [ -e "$demo/scores/chord.sco" ] || cat >"$demo/scores/chord.sco" <<'EOF'
f1 0 8192 10 1
i1 0 2 8000 220
i1 0 2 8000 277.18
i1 0 2 8000 329.63
e
EOF
  if [ ! -e "$demo/sounds/tone.wav" ]; then
    # One second of a 440 Hz tone, 16-bit mono at 44100 Hz.
    python3 - "$demo/sounds/tone.wav" <<'EOF'
import math, struct, sys, wave
with open(sys.argv[1], "xb") as f, wave.open(f, "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / 44100)))
                           for i in range(44100)))
EOF
  fi
  cat >"$config/tk3.ini" <<EOF
[DIRECTORIES]
orcdir=$demo/orchestras/
scoredir=$demo/scores/
ssdir=$demo/sounds/
sfdir=$demo/output/
sadir=$demo/analysis/
[PREFERENCES]
csoundver=2
[CSOUND]
csound path=$(command -v csound || echo /usr/bin/csound)
EOF
  set +o noclobber
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: Tonsmith is built (build/src/mainwindow/tonsmith) but there is no display to show it on" >&2
  exit 1
fi
exec build/src/mainwindow/tonsmith
