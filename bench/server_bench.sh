#!/usr/bin/env bash
# Starts a zorne-emulator on a free loopback port with a fresh root, runs bench/server_bench
# against it and stops it. Release build: cmake --preset default && cmake --build --preset default
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(mktemp -d)
log=$(mktemp)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$root" "$log"' EXIT
build/bin/zorne-emulator --root "$root" --listen 127.0.0.1:0 --admin-password RONDEL >"$log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  address=$(sed -n 's/^zorne-emulator listening on \(.*\)$/\1/p' "$log")
  [ -n "$address" ] && break
  sleep 0.1
done
build/bin/server_bench "$address" RONDEL
