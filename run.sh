#!/usr/bin/env bash
# Installs what is missing, builds the release preset, starts a demo Zorne server (the emulator on
# 127.0.0.1 with a demo server tree) and the program; the emulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display to show the window on: run ./run.sh from a desktop session, or under a virtual display with: xvfb-run ./run.sh" >&2
  exit 1
fi

demo=build/demo-server
log=build/demo-emulator.log
# The demo pins its server's key in a file of its own; a fresh demo tree makes a fresh key.
known=build/demo-known-servers
[ -d "$demo" ] || { cp -r resources/demo-server "$demo" && rm -f "$known"; }

emulator=""
follower=""
stop() {
  [ -n "$emulator" ] && kill "$emulator" 2>/dev/null && wait "$emulator" 2>/dev/null
  [ -n "$follower" ] && kill "$follower" 2>/dev/null
  return 0
}
trap stop EXIT

# The usual port first; another program on it gives a free one instead.
port=""
for listen in 127.0.0.1:9631 127.0.0.1:0; do
  : >"$log"
  ZORNE_ADMIN_PASSWORD=RONDEL build/bin/zorne-emulator --root "$demo" --listen "$listen" \
    --name demo-zorne --model QV5010 >>"$log" 2>&1 &
  emulator=$!
  for _ in $(seq 50); do
    port=$(sed -n 's/^zorne-emulator listening on [0-9.]*:\([0-9]*\)$/\1/p' "$log")
    [ -n "$port" ] && break
    kill -0 "$emulator" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$port" ] && break
  stop
  emulator=""
done
if [ -z "$port" ]; then
  echo "The demo Zorne server did not start:" >&2
  cat "$log" >&2
  exit 1
fi
tail -n +1 -f "$log" &
follower=$!

address=127.0.0.1
[ "$port" = 9631 ] || address="127.0.0.1:$port"
echo "Demo Zorne server: $address (name demo-zorne, QV5000 series), administrator password RONDEL"
echo "Its files: $demo   (remove the folder to start again from the demo tree)"

# Search... asks only the demo server, never the site network.
export VIREO_DISCOVERY_TARGETS=127.0.0.1 VIREO_PORT="$port" VIREO_KNOWN_SERVERS="$PWD/$known"
build/bin/azuqvc
