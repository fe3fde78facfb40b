#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show the window on: run ./run.sh from a desktop session, or under a virtual display with: xvfb-run ./run.sh" >&2
  exit 1
fi
exec build/bin/azuqvc
