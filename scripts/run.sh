#!/usr/bin/env bash
# Builds vorlin and starts it. With no supported device plugged in it runs with the emulated
# devices (demo mode). Arguments are passed on to the program. On a machine without a display
# (a server, a container) the window opens on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "${JOBS:-$(nproc)}" --target vorlin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting vorlin on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" ./build/default/src/vorlin "$@"
fi
exec ./build/default/src/vorlin "$@"
