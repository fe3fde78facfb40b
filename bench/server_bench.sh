#!/usr/bin/env bash
# Starts a zorne-emulator on a free loopback port with a fresh root, runs server_bench against it
# and stops it. Everything stays on 127.0.0.0/8.
#   bench/server_bench.sh [lockout] [roundtrip] [bulk] [concurrency]    (no argument: all four)
#   AZU_BUILD_DIR  the release build to use (default build), made with
#                  cmake --preset default && cmake --build --preset default
# Ends with status 1 when a figure misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${AZU_BUILD_DIR:-build}
bin=$build/bin
for program in zorne-emulator server_bench; do
  if [ ! -x "$bin/$program" ]; then
    echo "server_bench.sh: $bin/$program is missing; build the release preset first" >&2
    exit 2
  fi
done

root=$(mktemp -d)
log=$(mktemp)
known=$(mktemp)
pid=''
trap '[ -n "$pid" ] && { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }; rm -rf "$root" "$log" "$known"' EXIT

# A fresh password each run, handed over in the environment, never on a command line.
ZORNE_ADMIN_PASSWORD=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
export ZORNE_ADMIN_PASSWORD
# The library pins into a file of this run only, and any discovery asks loopback alone.
export VIREO_KNOWN_SERVERS=$known
export VIREO_DISCOVERY_TARGETS=127.0.0.1
unset VIREO_PORT

"$bin/zorne-emulator" --root "$root" --listen 127.0.0.1:0 >"$log" 2>&1 &
pid=$!
address='' key=''
for _ in $(seq 100); do
  address=$(sed -n 's/^zorne-emulator listening on \(.*\)$/\1/p' "$log")
  key=$(sed -n 's/^zorne-emulator key \(sha256:[0-9a-f]*\)$/\1/p' "$log")
  [ -n "$address" ] && [ -n "$key" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$address" ] || [ -z "$key" ]; then
  echo "server_bench.sh: the emulator did not start:" >&2
  cat "$log" >&2
  exit 1
fi
case $address in
  127.*) ;;
  *) echo "server_bench.sh: the emulator is not on loopback ($address)" >&2; exit 1 ;;
esac
if grep -qi warning "$log"; then
  echo "server_bench.sh: the emulator warned:" >&2
  grep -i warning "$log" >&2
fi
# The key the emulator printed is pinned beforehand, so every connection checks it.
echo "${address} ${key}" >"$known"

build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
echo "server_bench: emulator $address, key $key"
echo "server_bench: build $build (${build_type:-unknown type}), $(nproc) cores," \
  "emulator root on $(df --output=fstype "$root" | tail -n 1) ($root)"
echo

status=0
"$bin/server_bench" "$address" "$root" --pid="$pid" "$@" || status=$?

if [ "$(cat "$known")" != "${address} ${key}" ]; then
  echo "server_bench.sh: the known-servers file changed:" >&2
  cat "$known" >&2
  status=1
fi
exit "$status"
