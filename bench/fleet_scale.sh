#!/usr/bin/env bash
# How zornectl's cost per server holds up as the fleet grows: one zorne-emulator on the wildcard
# address of a network namespace of the bench's own, answering at 1,000 and then 10,000 loopback
# addresses (127.x.y.z all reach lo there). For each size, with a fresh known-servers file:
#   first   `zornectl http --http-port 80 --https-port 443 --parallel 16` over all (every key
#           is new and pinned),
#   second  the same again (every key is known),
#   show    `zornectl show --parallel 16` over all, when this zornectl has that command.
# Prints milliseconds per server and peak resident memory of each run, and the ratio of the
# per-server cost at 10,000 to that at 1,000 (target <= 1.2); peak RSS target < 100 MB.
# Nothing leaves the namespace: it has no interface but its own lo.
#   AZU_BUILD_DIR     the build to use (default build-debug); the targets are a release build's
#                     (AZU_BUILD_DIR=build, made with cmake --preset default && cmake --build
#                     --preset default --target zornectl zorne-emulator): under the debug
#                     build's sanitizers their allocator's own cost and memory come first
#   AZU_SCALE_SIZES   the fleet sizes (default "1000 10000"); the ratio is of the last to the first
# Runs as root (unshare --net), else in a user namespace of its own. Ends with status 1 when a
# figure misses its target or a server failed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${AZU_FLEET_SCALE_INSIDE:-}" ]; then
  if [ "$(id -u)" = 0 ]; then
    namespace=(unshare --net)
  else
    namespace=(unshare --user --map-root-user --net)
  fi
  AZU_FLEET_SCALE_INSIDE=1 exec "${namespace[@]}" -- "$0" "$@"
fi

build=${AZU_BUILD_DIR:-build-debug}
bin=$build/bin
read -r -a sizes <<<"${AZU_SCALE_SIZES:-1000 10000}"
for program in zorne-emulator zornectl; do
  if [ ! -x "$bin/$program" ]; then
    echo "fleet_scale.sh: $bin/$program is missing; build it first" >&2
    exit 2
  fi
done
# The emulator listens on every address: only where lo is the one interface.
if ip -o link show | grep -qv ': lo:'; then
  echo "fleet_scale.sh: not in a network namespace of its own; run it without AZU_FLEET_SCALE_INSIDE" >&2
  exit 2
fi
ip link set lo up

work=$(mktemp -d)
emulator=
cleanup() {
  if [ -n "$emulator" ]; then
    kill "$emulator" 2>/dev/null || true
    wait "$emulator" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

export VIREO_DISCOVERY_TARGETS=127.0.0.9
unset VIREO_PORT ZORNE_PASSWORD
password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$work/password"
chmod 600 "$work/password"

ZORNE_ADMIN_PASSWORD=$password "$bin/zorne-emulator" --root "$work/root" --listen 0.0.0.0:9631 \
  --name scale >"$work/emulator.log" 2>&1 &
emulator=$!
if ! timeout 30 bash -c "until grep -q '^zorne-emulator listening' '$work/emulator.log'; do
                           kill -0 $emulator 2>/dev/null || exit 1; sleep 0.05; done"; then
  echo "fleet_scale.sh: the emulator did not start:" >&2
  cat "$work/emulator.log" >&2
  exit 2
fi

# The first COUNT addresses of 127.10.1.1 onwards, none ending in 0 or 255.
servers_file() {  # servers_file COUNT
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++)
    printf "127.%d.%d.%d\n", 10 + int(i / 62500), 1 + int(i / 250) % 250, 1 + i % 250 }' \
    >"$work/servers"
}

has_show=0
"$bin/zornectl" show --help >/dev/null 2>&1 && has_show=1

fail=0
declare -A per_server
printf '%-8s %-7s %9s %10s %12s %7s\n' servers run "wall s" "ms/server" "peak RSS MB" failed
run() {  # run COUNT LABEL ARGS...: one zornectl run over the COUNT servers of $work/servers
  local count=$1 label=$2
  shift 2
  local start end status=0
  start=$(date +%s.%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$bin/zornectl" "$@" --parallel 16 --json \
    --zorne-password-file "$work/password" --servers-file "$work/servers" \
    >"$work/out.json" 2>"$work/err" || status=$?
  end=$(date +%s.%N)
  local wall ms rss_mb answered
  wall=$(echo "$end - $start" | bc)
  ms=$(echo "scale=3; 1000 * $wall / $count" | bc)
  rss_mb=$(($(tail -n 1 "$work/rss") / 1024))
  answered=$(grep -c '"outcome":"done"' "$work/out.json" || true)
  per_server[$count.$label]=$ms
  printf '%-8s %-7s %9.2f %10.2f %12d %7d\n' "$count" "$label" "$wall" "$ms" "$rss_mb" \
    $((count - answered))
  if [ "$status" != 0 ] || [ "$answered" != "$count" ]; then
    echo "  exit $status: $(grep -v '"outcome":"done"' "$work/out.json" | head -n 3)"
    head -c 600 "$work/err"
    fail=1
  fi
  ((rss_mb < 100)) || { echo "  MISSED: peak RSS >= 100 MB"; fail=1; }
}

for count in "${sizes[@]}"; do
  servers_file "$count"
  export VIREO_KNOWN_SERVERS=$work/known_servers.$count
  run "$count" first http --http-port 80 --https-port 443
  pins=$(grep -c ' sha256:' "$VIREO_KNOWN_SERVERS" || true)
  [ "$pins" = "$count" ] || { echo "  $pins pins in the file, not $count"; fail=1; }
  run "$count" second http --http-port 80 --https-port 443
  if [ "$has_show" = 1 ]; then run "$count" show show; fi
done

labels=(first second)
[ "$has_show" = 1 ] && labels+=(show)
small=${sizes[0]}
large=${sizes[${#sizes[@]} - 1]}
for label in "${labels[@]}"; do
  ratio=$(echo "scale=2; ${per_server[$large.$label]} / ${per_server[$small.$label]}" | bc)
  printf 'ratio %s/%s %-7s %5.2f (target <= 1.2)\n' "$large" "$small" "$label" "$ratio"
  (($(echo "$ratio <= 1.2" | bc))) || { echo "  MISSED: the cost per server grows"; fail=1; }
done
[ "$has_show" = 1 ] || echo "(no show row: this zornectl has no show command)"
exit $fail
