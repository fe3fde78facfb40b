#!/usr/bin/env bash
# Installs what is missing, builds the debug preset (sanitizers on) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug -j "$(nproc)"
