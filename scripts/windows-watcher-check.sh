#!/usr/bin/env bash
# The Windows watcher end to end: `azuqvc.exe printerip` under wine on a server made of two
# network namespaces of this run (the server, and the printer answering SNMP with our responder),
# with wine's own arp.exe and net.exe, and a Linux zorne-emulator on the server's loopback as the
# local server that the restart reaches. Learning the MAC, the switch back to the direct link, and
# the end of a switch that a killed Linux watcher left half done. Needs root, wine and the Linux
# build (AZU_LINUX_BUILD, default build-debug); skipped, with the reason, without them.
# AZU_KEEP_WORK=1 keeps the run's folder (drives, outputs, traces) for a look after a failure.
#
#   scripts/windows-watcher-check.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

skip() {
  echo "windows watcher: skipped, $*"
  exit 0
}
[ "$(id -u)" = 0 ] || skip "network namespaces need root; never run on the host's interfaces"
for tool in wine wineserver ip; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
exe=${1:-build-windows}/bin/azuqvc.exe
[ -f "$exe" ] || skip "no $exe (cmake --build --preset windows)"
exe=$(cd "$(dirname "$exe")" && pwd)/azuqvc.exe
linux=$PWD/${AZU_LINUX_BUILD:-build-debug}/bin
for program in azuqvc zorne-emulator azu-snmp-responder; do
  [ -x "$linux/$program" ] || skip "no $linux/$program (the Linux build)"
done
demo=$PWD/resources/demo-server

mac=02:a2:00:00:00:01
work=$(mktemp -d "${TMPDIR:-/tmp}/azuqvc-watcher.XXXXXX")
# Namespaces named after the run's folder: two runs' labs never meet.
server=azqw-${work##*.}-srv
printer=azqw-${work##*.}-prn
# The process trace shows what azuqvc.exe asks of net.exe and arp.exe. No Gecko, Mono or menu
# entries, and a crash ends the program instead of waiting in the debugger; what wine keeps for
# the user and its server's socket stay in the run's folder.
export WINEPREFIX=$work/wine WINEDEBUG=-all,trace+process HOME=$work/home TMPDIR=$work/tmp
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
# No display: the watcher opens no window, and wine must not reach any X server.
unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
pids=()
made=()

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ -d "$WINEPREFIX" ] && [ ${#made[@]} = 2 ]; then
    ip netns exec "$server" wineserver -k 2>/dev/null || true
    ip netns exec "$server" wineserver -w 2>/dev/null || true
  fi
  local ns
  for ns in "${made[@]}"; do ip netns del "$ns" 2>/dev/null || true; done
  if [ -n "${AZU_KEEP_WORK:-}" ]; then echo "windows watcher: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
mkdir "$HOME" "$TMPDIR"

in_server() { ip netns exec "$server" "$@"; }

# The lab: both ends of each link made inside the namespaces, so no interface ever exists on the
# host. The printer's side has its MAC on both links.
for ns in "$server" "$printer"; do
  ip netns add "$ns" || skip "the namespace $ns cannot be made here"
  made+=("$ns")
  ip -n "$ns" link set lo up
done
for link in site:198.51.100.2 direct:100.100.100.102; do
  name=${link%%:*}
  ip -n "$server" link add "${name}0" type veth peer name "${name}1" netns "$printer"
  ip -n "$server" addr add "${link#*:}/24" dev "${name}0"
  ip -n "$server" link set "${name}0" up
  ip -n "$printer" link set "${name}1" address "$mac"
  ip -n "$printer" link set "${name}1" up
done

# place_printer: the printer at 100.100.100.101 on the direct link, off the site network; the
# server's ARP cache forgets it, so that every run starts alike.
place_printer() {
  ip -n "$printer" addr flush dev direct1
  ip -n "$printer" addr flush dev site1
  ip -n "$server" neigh flush dev direct0
  ip -n "$server" neigh flush dev site0
  ip -n "$printer" addr add 100.100.100.101/24 dev direct1
}

# wait_for FILE TEXT: until FILE holds TEXT (at most 20 s).
wait_for() {
  local _
  for _ in $(seq 200); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "windows watcher: no '$2' in $1: $(cat "$1" 2>/dev/null)" >&2
  return 1
}

# start NAME NS READY COMMAND...: COMMAND in namespace NS, its output in $work/NAME.out, once it
# printed READY; its pid in $started_pid.
start() {
  local name=$1 ns=$2 ready=$3
  shift 3
  ip netns exec "$ns" "$@" >"$work/$name.out" 2>&1 &
  started_pid=$!
  pids+=("$started_pid")
  wait_for "$work/$name.out" "$ready"
}
stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

start responder "$printer" ready "$linux/azu-snmp-responder" --mac "$mac"

# The wine prefix of this run, made inside the server's namespace (its wineserver lives there).
in_server wineboot --init >"$work/wineboot.out" 2>&1 ||
  { echo "windows watcher: wineboot failed: $(cat "$work/wineboot.out")" >&2; exit 1; }
in_server wineserver -w

# The thirteen live files (drive E: relative) and their direct-connection variants.
live=(azu/server/dev0/maj_0.cfg azu/server/net/oid_exclude_list azu/server/net/hrmib.ppd
  azu/server/dev0/vscan_ftp.ini azu/server/config_files/controllerAddr
  azu/server/config_files/controllerAddr.ini azu/server/config_files/engineAddr
  azu/server/config_files/engineAddr.ini azu/server/dev0/httpd.conf azu/server/dev0/httpds.conf
  azu/server/httpd/conf/httpd.conf "azu/server/scan/template/(ColorCal).xst"
  "home/template/(ColorCal).xst")
direct=(azu/server/dev0/maj_0.cfg azu/server/dev0/oid_exclude_list.enable
  azu/server/dev0/hrmib.ppd.enable)
for row in $(seq 3 12); do direct+=("${live[$row]}.base"); done
journal=azu/server/tmp/azuqvc.switch

# drive NAME [site]: a copy of the demo server in $work/NAME; with "site" its live set is that
# of the network switch for the printer at 198.51.100.7 (server 198.51.100.2), the printer's MAC
# is known and both variant sets are there.
drive() {
  local root=$work/$1 row
  cp -a "$demo" "$root"
  [ "${2:-}" = site ] || return 0
  for row in 1 2; do
    cp "$root/${live[$row]}" "$root/${direct[$row]}"
    printf '# network switch: %s\r\n' "${live[$row]##*/}" >"$root/${direct[$row]%.enable}.disable"
    cp "$root/${direct[$row]%.enable}.disable" "$root/${live[$row]}"
  done
  for row in $(seq 3 12); do
    cp "$root/${live[$row]}" "$root/${direct[$row]}"
    sed -i 's/100\.100\.100\.101/198.51.100.7/g; s/100\.100\.100\.102/198.51.100.2/g' \
      "$root/${live[$row]}"
  done
  sed -i 's/^URL=100\.100\.100\.101\r$/URL=198.51.100.7\r/' "$root/${live[0]}"
  printf '%s' "$mac" >"$root/azu/server/config_files/engineMACAddr"
}

# emulator DRIVE: the local server of the restart, serving DRIVE; its pid in $emulator.
emulator() {
  start "emulator-${1##*/}" "$server" "listening on" "$linux/zorne-emulator" --root "$1" \
    --listen 127.0.0.1:9631 --admin-password RONDEL
  emulator=$started_pid
}
restarts() { awk '$2 == "restart" { n++ } END { print n + 0 }' "$1/.zorne/events.log" || true; }

# watcher_exe DRIVE NAME: azuqvc.exe printerip with DRIVE as E:, until wine is gone; its status
# in $code, its output (net.exe's too) in $work/NAME.out.
watcher_exe() {
  ln -sfn "$1" "$WINEPREFIX/dosdevices/e:"
  # Keys pinned per case: each case's emulator has a key of its own.
  (cd "$(dirname "$exe")" && VIREO_KNOWN_SERVERS="Z:${work//\//\\}\\$2-known" \
    in_server timeout 300 wine azuqvc.exe printerip) \
    >"$work/$2.out" 2>&1 && code=0 || code=$?
  in_server wineserver -w
}

# watcher_linux DRIVE NAME STRACE...: the Linux watcher over DRIVE under `strace STRACE...`, as
# its service would start it; its status in $code.
watcher_linux() {
  local root=$1 name=$2
  shift 2
  mkdir -p "$work/$name-temp"
  printf '#!/bin/sh\necho "$@" >>%s\n' "$work/$name-services.log" >"$work/$name-services.sh"
  chmod 700 "$work/$name-services.sh"
  # Leak checks cannot run under a tracer.
  in_server env -i AZUQVC_DRIVE_E="$root" AZUQVC_SERVICE_CTL="$work/$name-services.sh" \
    TEMP="$work/$name-temp" PATH=/usr/bin:/bin VIREO_KNOWN_SERVERS="$work/$name-known" \
    ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o "$work/$name.trace" "$@" \
    "$linux/azuqvc" printerip >"$work/$name.out" 2>&1 && code=0 || code=$?
}

status=0
fail() {
  echo "windows watcher: $*"
  status=1
}
# expect_direct_set DRIVE CASE: the live set is the direct set, maj_0.cfg the demo's (its URL
# the direct printer's).
expect_direct_set() {
  local row differ=()
  cmp -s "$1/${live[0]}" "$demo/${live[0]}" || differ+=(0)
  for row in $(seq 1 12); do
    cmp -s "$1/${live[$row]}" "$1/${direct[$row]}" || differ+=("$row")
  done
  [ ${#differ[@]} = 0 ] || fail "$2: live rows ${differ[*]} are not the direct set;" \
    "maj_0.cfg: $(grep -a '^URL=' "$1/${live[0]}" | tr -d '\r')"
}
# expect_clean_run CASE: status 0 and no working copy of azuqvc.exe left in wine's folders.
expect_clean_run() {
  [ "$code" = 0 ] ||
    fail "$1: azuqvc.exe printerip ended with $code: $(grep -v :trace: "$work/$1.out")"
  local left
  left=$(find "$WINEPREFIX/drive_c/users" -name 'azu*' -type f | head -n 3)
  [ -z "$left" ] || fail "$1: working copies left behind: $left"
}
# runs CASE PROGRAM: the command lines of PROGRAM.exe that azuqvc.exe ran, one a line joined by
# ";", from wine's process trace.
runs() {
  sed -n "s/.*CreateProcessInternalW app L\"[^\"]*\\\\$2\\.exe\" cmdline L\"\\(.*\\)\"\$/\\1/p" \
    "$work/$1.out" | tr -d '\\' | sed 's/ *$//' | paste -sd ';'
}
# expect_restart DRIVE CASE: one restart in the emulator's events, after net.exe was asked to
# stop the LCD and web services (wine knows neither service, so its net.exe says it cannot).
expect_restart() {
  local count calls
  count=$(restarts "$1")
  [ "$count" = 1 ] || fail "$2: $count restarts of the local server (expected 1):" \
    "$(tail -n 5 "$1/.zorne/events.log" 2>/dev/null)"
  calls=$(runs "$2" net)
  [ "$calls" = 'net.exe stop "AZU CommonLCD";net.exe stop "Apache"' ] ||
    fail "$2: net.exe was run as '$calls'"
}

# (a) No MAC known, the printer on the direct link: the watcher learns it and ends.
place_printer
drive learn
watcher_exe "$work/learn" learn
expect_clean_run learn
# Wine's arp.exe is a stub that lists nothing: the printer is found by its SNMP answer.
calls=$(runs learn arp)
[ "$calls" = "arp.exe -a 100.100.100.101" ] || fail "learn: arp.exe was run as '$calls'"
calls=$(runs learn net)
[ -z "$calls" ] || fail "learn: nothing to restart, yet net.exe was run as '$calls'"
learnt=$(cat "$work/learn/azu/server/config_files/engineMACAddr" 2>/dev/null || echo none)
[ "$learnt" = "$mac" ] || fail "learn: engineMACAddr holds '$learnt', expected $mac"
grep -qa "^PrinterIP=100.100.100.101" "$work/learn/azu/server/azuqvc.log" 2>/dev/null ||
  fail "learn: azuqvc.log: $(cat "$work/learn/azu/server/azuqvc.log" 2>/dev/null || echo none)"
[ "$status" = 0 ] && echo "windows watcher: learns the printer's MAC on the direct link"

# (b) The live set of the network switch, the printer back on the direct link: the direct set
# is installed and the server restarted through the local server.
place_printer
drive back site
emulator "$work/back"
watcher_exe "$work/back" back
stop "$emulator"
before=$status
expect_clean_run back
expect_direct_set "$work/back" back
expect_restart "$work/back" back
grep -qa "^PrinterIP=100.100.100.101" "$work/back/azu/server/azuqvc.log" 2>/dev/null ||
  fail "back: azuqvc.log: $(cat "$work/back/azu/server/azuqvc.log" 2>/dev/null || echo none)"
[ "$status" = "$before" ] &&
  echo "windows watcher: switches back to the direct link and restarts the server"

# (c) A Linux watcher killed inside the install of the switch of (b) leaves a journal; the
# Windows watcher finishes that switch first. The kill lands on the rename that would install the
# seventh live file, counted on a run of the same switch that was not killed: "N J", the number
# of that renameat call and whether a journal was written (1) or not (0).
crash_point() {
  awk -v root="$work/counted/" -v journal="$journal" -v rows="$(printf '%s\n' "${live[@]}")" '
    BEGIN { n = split(rows, r, "\n"); for (i = 1; i <= n; i++) live[root r[i]] = 1 }
    match($0, /[0-9]+<[^>]*>, "[^"]*"\) = /) {
      calls[$1]++
      to = substr($0, RSTART, RLENGTH)
      sub(/^[0-9]+</, "", to); sub(/>, "/, "/", to); sub(/"\) = $/, "", to)
      if (to == root journal) journaled = 1
      if (to in live && ++installed[$1] == 7 && !at) at = calls[$1]
    }
    END { print at + 0, journaled + 0 }' "$work/counted.trace"
}
if ! command -v strace >/dev/null; then
  echo "windows watcher: crash recovery skipped, strace is not installed"
else
  place_printer
  drive counted site
  emulator "$work/counted"
  watcher_linux "$work/counted" counted -y -e trace=renameat -e signal=none
  stop "$emulator"
  read -r kill_at journaled < <(crash_point)
  drive crashed site
  emulator "$work/crashed"
  before=$status
  if [ "$code" != 0 ] || [ "$kill_at" = 0 ]; then
    fail "crash: the Linux watcher did not switch (status $code): $(cat "$work/counted.out")"
  else
    place_printer
    watcher_linux "$work/crashed" crashed -e trace=renameat -e signal=none \
      -e "inject=renameat:signal=KILL:when=$kill_at"
    if [ ! -e "$work/crashed/$journal" ] && [ "$journaled" = 0 ]; then
      echo "windows watcher: crash recovery skipped, the watcher keeps no journal of a switch"
    elif [ ! -e "$work/crashed/$journal" ] || [ "$code" != 137 ]; then
      fail "crash: the Linux watcher killed at rename $kill_at ended with $code," \
        "journal: $(ls "$work/crashed/$journal" 2>/dev/null || echo none)"
    else
      watcher_exe "$work/crashed" crashed
      expect_clean_run crashed
      expect_direct_set "$work/crashed" crashed
      expect_restart "$work/crashed" crashed
      left=$(ls "$work/crashed/$journal"* 2>/dev/null || true)
      [ -z "$left" ] || fail "crashed: the journal is still there: $left"
      staged=$(find "$work/crashed" -name '*.azuqvc-new' | head -n 3)
      [ -z "$staged" ] || fail "crashed: staged files left: $staged"
      [ "$status" = "$before" ] &&
        echo "windows watcher: finishes a switch that a crash cut short, and restarts once"
    fi
  fi
  stop "$emulator"
fi

echo "windows watcher: $(($(date +%s) - started)) s"
exit $status
