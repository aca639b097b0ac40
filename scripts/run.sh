#!/usr/bin/env bash
# Builds vorlin and starts it. With no supported device plugged in it runs with the emulated
# devices (demo mode). Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "${JOBS:-$(nproc)}" --target vorlin

exec ./build/default/src/vorlin "$@"
