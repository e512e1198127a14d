#!/usr/bin/env bash
# Installs what is missing, builds Tonsmith and starts it. With no settings
# yet, Tonsmith itself makes a small demo workspace (orchestras, scores and a
# source sound) and a settings file pointing at it and at Debian's csound.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target tonsmith

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: Tonsmith is built (build/src/mainwindow/tonsmith) but there is no display to show it on" >&2
  exit 1
fi
exec build/src/mainwindow/tonsmith
