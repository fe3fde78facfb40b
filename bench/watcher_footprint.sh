#!/usr/bin/env bash
# CPU time of one watching cycle of `azuqvc printerip` outside its waits, and the watcher's peak
# resident memory, measured on the real program inside a network namespace made for the run
# (never on this host's interfaces). Needs root and `ip`. Use a release build:
#
#   cmake --preset default -B /tmp/build-rel && cmake --build /tmp/build-rel --target azuqvc
#   bench/watcher_footprint.sh /tmp/build-rel [cycles]
#
# The server has its direct link only and no printer answers: the watcher's steady state, where
# each cycle pauses 5 s and listens 2 x 5 s. The process's CPU time (from /proc/PID/schedstat, in
# nanoseconds) is read once the start-up is over and again N - 1 cycles later.
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [cycles]}
cycles=${2:-4}
bin="$build/bin/azuqvc"
demo="$(cd "$(dirname "$0")/.." && pwd)/resources/demo-server"
[ "$(id -u)" -eq 0 ] || { echo "needs root for network namespaces" >&2; exit 1; }
[ -x "$bin" ] || { echo "no $bin" >&2; exit 1; }
[ "$cycles" -ge 2 ] || { echo "cycles must be 2 or more" >&2; exit 1; }

ns="azqbench$$"
work=$(mktemp -d)
cleanup() { ip netns del "$ns" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
ip netns add "$ns"
ip -n "$ns" link set lo up
ip -n "$ns" link add direct0 type veth peer name direct1 # both ends inside the namespace
ip -n "$ns" addr add 100.100.100.102/24 dev direct0
ip -n "$ns" link set direct0 up
ip -n "$ns" link set direct1 up

cp -r "$demo" "$work/drive"
printf '02:a2:00:00:00:01' >"$work/drive/azu/server/config_files/engineMACAddr"
mkdir -p "$work/temp"

python3 - "$ns" "$work/drive" "$work/temp" "$bin" "$cycles" <<'PY'
import os, subprocess, sys, time
ns, drive, temp, binary, cycles = sys.argv[1:6]
cycles = int(cycles)
env = {"PATH": "/usr/bin:/bin", "AZUQVC_DRIVE_E": drive, "TEMP": temp,
       "AZUQVC_SERVICE_CTL": "/bin/true"}
# `ip netns exec` becomes the program: the child is the watcher itself.
child = subprocess.Popen(["ip", "netns", "exec", ns, binary, "printerip"], env=env)

def cpu_ns():
    with open(f"/proc/{child.pid}/schedstat") as stat:
        return int(stat.read().split()[0])

def anon_kb():
    with open(f"/proc/{child.pid}/status") as status:
        for line in status:
            if line.startswith("RssAnon:"):
                return int(line.split()[1])
    return 0

time.sleep(7)                     # start-up done; cycle 1 is listening
start = cpu_ns()
time.sleep(15 * (cycles - 1))     # the same point of cycle N
end = cpu_ns()
anon = anon_kb()
with open(os.path.join(drive, "azu/server/tmp/azuqvc.exit"), "w") as marker:
    marker.write("stop")
_, status, usage = os.wait4(child.pid, 0)
total = (usage.ru_utime + usage.ru_stime) * 1000
print(f"whole run:      {total:.1f} ms CPU over {cycles} cycles (start-up included)")
print(f"per cycle:      {(end - start) / (cycles - 1) / 1e6:.3f} ms CPU outside the waits (goal < 5 ms)")
print(f"peak resident:  {usage.ru_maxrss / 1024:.1f} MB (goal < 16 MB); "
      f"of it anonymous: {anon / 1024:.1f} MB, the rest shared library pages")
PY
