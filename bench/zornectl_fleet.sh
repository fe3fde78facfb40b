#!/usr/bin/env bash
# zornectl over a fleet: 100 emulators on 127.0.0.10 to 127.0.0.109 (one port), then
#   1. `zornectl snmp ... --parallel 16` over all: wall time (target < 3 s), errors (0), peak
#      resident memory (target < 64 MB);
#   2. the same with --dry-run: nothing stored (no put in any events log);
#   3. 5 emulators stopped and 5 answering to another password: the other 90 stored, the 10
#      reported each with its reason, exit status 1.
# Everything stays on 127.0.0.0/8.
#   AZU_BUILD_DIR  the release build to use (default build), made with
#                  cmake --preset default && cmake --build --preset default
# Ends with status 1 when a figure misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${AZU_BUILD_DIR:-build}
bin=$build/bin
for program in zorne-emulator zornectl; do
  if [ ! -x "$bin/$program" ]; then
    echo "zornectl_fleet.sh: $bin/$program is missing; build the release preset first" >&2
    exit 2
  fi
done
port=${AZU_FLEET_PORT:-19700}
count=100
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export VIREO_KNOWN_SERVERS=$work/known
export VIREO_DISCOVERY_TARGETS=127.0.0.1
unset VIREO_PORT
password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$work/password"
chmod 600 "$work/password"

start() {  # start INDEX PASSWORD
  local address=127.0.0.$((10 + $1))
  ZORNE_ADMIN_PASSWORD=$2 "$bin/zorne-emulator" --root "$work/root$1" --listen "$address:$port" \
    --name "zorne$1" >"$work/emulator$1.log" 2>&1 &
  pids[$1]=$!
}
for i in $(seq 0 $((count - 1))); do
  mkdir -p "$work/root$i/azu/server/dev0"
  printf 'Name=zorne%d\r\nsnmp.version=1\r\nsnmp.getcommunityname=old\r\n' "$i" \
    >"$work/root$i/azu/server/dev0/maj_0.cfg"
  start "$i" "$password"
done
: >"$work/servers"
for i in $(seq 0 $((count - 1))); do
  for _ in $(seq 200); do
    grep -q '^zorne-emulator listening' "$work/emulator$i.log" && break
    sleep 0.05
  done
  echo "127.0.0.$((10 + i)):$port" >>"$work/servers"
done
echo "$count emulators listening on 127.0.0.10-$((9 + count)):$port"

puts() { cat "$work"/root*/.zorne/events.log 2>/dev/null | grep -c ' put ' || true; }
fail=0
run() {  # run LABEL ARGS...: wall seconds, peak RSS and exit status of one zornectl run
  local label=$1
  shift
  local start end
  status=0
  start=$(date +%s.%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$bin/zornectl" snmp --get-community fleet \
    --zorne-password-file "$work/password" --servers-file "$work/servers" --parallel 16 \
    --json "$@" >"$work/out.json" 2>"$work/err" || status=$?
  end=$(date +%s.%N)
  wall=$(echo "$end - $start" | bc)
  rss_mb=$(( $(tail -n 1 "$work/rss") / 1024 ))
  failed=$(grep -c '"outcome":"failed"' "$work/out.json" || true)
  printf '%-10s wall %.2f s, peak RSS %d MB, exit %d, %d failed\n' "$label" "$wall" "$rss_mb" \
    "$status" "$failed"
}

# The first run pins 100 keys; the figures are for a fleet the library already knows.
run warm-up >/dev/null
before=$(puts)
run stored
[ "$status" = 0 ] && [ "$failed" = 0 ] || { echo "  errors: $(head -c 600 "$work/out.json")"; fail=1; }
(( $(echo "$wall < 3" | bc) )) || { echo "  MISSED: wall time >= 3 s"; fail=1; }
(( rss_mb < 64 )) || { echo "  MISSED: peak RSS >= 64 MB"; fail=1; }
stored=$(( $(puts) - before ))
echo "  puts in the events logs: $stored"

before=$(puts)
run dry-run --dry-run
dry=$(( $(puts) - before ))
echo "  puts in the events logs: $dry (target 0)"
[ "$dry" = 0 ] && [ "$failed" = 0 ] || fail=1

for i in 0 1 2 3 4; do kill "${pids[$i]}"; wait "${pids[$i]}" 2>/dev/null || true; done
for i in 5 6 7 8 9; do
  kill "${pids[$i]}"; wait "${pids[$i]}" 2>/dev/null || true
  start "$i" "another-$password"
done
sleep 1
before=$(puts)
run faults
stored=$(( $(puts) - before ))
echo "  stored: $stored (target 90), reported: $failed (target 10), exit $status (target 1)"
grep '"outcome":"failed"' "$work/out.json" | sed -n 's/.*"server":"\([^"]*\)".*"message":"\([^"]*\)".*/    \1: \2/p'
[ "$stored" = 90 ] && [ "$failed" = 10 ] && [ "$status" = 1 ] || fail=1
exit $fail
