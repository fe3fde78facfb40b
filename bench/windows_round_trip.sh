#!/usr/bin/env bash
# The Configure round trip (TLS connect, login, get, put 4 KiB, disconnect) from zornectl.exe under
# wine beside the Linux library's, in one run and against one zorne-emulator, inside a network
# namespace made for the run (only loopback up). Uses release builds:
#
#   cmake --preset default && cmake --build --preset default
#   cmake --preset windows && cmake --build --preset windows
#   bench/windows_round_trip.sh [runs]          (default 30)
#
# Reports the p50 of whole zornectl.exe runs under wine, of wine starting zornectl.exe --help
# (what a run costs before it reaches the network), of whole Linux zornectl runs, and of the
# Linux library's round trip inside one process (server_bench roundtrip).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
linux=$PWD/build/bin
windows=$PWD/build-windows/bin
for program in "$linux/zorne-emulator" "$linux/zornectl" "$linux/server_bench" \
  "$windows/zornectl.exe"; do
  [ -x "$program" ] || [ -f "$program" ] || { echo "missing $program; build both presets" >&2; exit 2; }
done
isolate=(unshare -n)
unshare -n true 2>/dev/null || isolate=(unshare -rn)

"${isolate[@]}" bash -s "$runs" "$linux" "$windows" <<'INSIDE'
set -euo pipefail
runs=$1 linux=$2 windows=$3
ip link set lo up
work=$(mktemp -d)
export WINEPREFIX=$windows/../wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pid=
trap 'wineserver -k 2>/dev/null || true; [ -n "$pid" ] && kill "$pid"; rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root/azu/server/dev0"
# A 4 KiB SNMP file: the version line and comment lines the rewrite keeps.
{
  printf 'snmp.version=3\r\n'
  for i in $(seq 60); do printf '# %064d\r\n' "$i"; done
} | head -c 4096 >"$root/azu/server/dev0/maj_0.cfg"
export ZORNE_ADMIN_PASSWORD=RONDEL
"$linux/zorne-emulator" --root "$root" --listen 127.0.0.1:0 >"$work/out" 2>&1 &
pid=$!
address=
for _ in $(seq 100); do
  address=$(sed -n 's/^zorne-emulator listening on //p' "$work/out")
  [ -n "$address" ] && break
  sleep 0.1
done
printf 'RONDEL\n' >"$work/password"
chmod 600 "$work/password"
wine_password="Z:${work//\//\\}\\password"
export VIREO_KNOWN_SERVERS=$work/known-linux
wineserver -p  # one wine server for the whole run, as on a desktop where wine is already up

# p50 in ms of `runs` runs of the command; each run alternates the SNMP version, so each stores.
p50() {
  local times=() i start
  for i in $(seq "$runs"); do
    local version=$((i % 2 == 0 ? 1 : 3))
    start=$(date +%s%N)
    "$@" "$version" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    times+=($((($(date +%s%N) - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] / 1000 }'
}
linux_run() { "$linux/zornectl" snmp --version "$1" --zorne-password-file "$work/password" "$address"; }
wine_run() {
  VIREO_KNOWN_SERVERS="Z:${work//\//\\}\\known-windows" \
    wine "$windows/zornectl.exe" snmp --version "$1" --zorne-password-file "$wine_password" "$address"
}
wine_start() { wine "$windows/zornectl.exe" --help; }
wine_run 3 >/dev/null 2>&1 || { echo "zornectl.exe does not reach the emulator:"; wine_run 3; exit 1; }
linux_run 3 >/dev/null
echo "windows_round_trip: $runs runs each, emulator $address, 4 KiB file, $(nproc) cores"
echo "  zornectl.exe under wine, whole run:  p50 $(p50 wine_run) ms"
echo "  wine starting zornectl.exe --help:   p50 $(p50 wine_start) ms"
echo "  Linux zornectl, whole run:           p50 $(p50 linux_run) ms"
echo "  Linux library in one process:        $("$linux/server_bench" "$address" "$root" roundtrip |
  sed -n 's/.*runs: \(p50 [0-9.]* ms\).*/\1/p')"
INSIDE
