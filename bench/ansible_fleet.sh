#!/usr/bin/env bash
# Ansible over a fleet: 100 emulators on 127.0.0.10 to 127.0.0.109 (one port), one page
# (azu.zorne.zorne_snmp), beside plain zornectl over the same 100:
#   1. zornectl, one process, --parallel 16: first run (100 stores) and second run (0 stores);
#   2. zornectl, one process per server, 16 at a time (what Ansible's forks run);
#   3. ansible-playbook -f 16: a run that changes all 100 and a run that changes none;
#   4. ansible-playbook -f 16 with ansible.builtin.debug over the same inventory: Ansible's own
#      floor for one task per host, which the zorne_snmp runs are set against (goal: 1.5 times),
#      and the same playbook with a zornectl that only prints its JSON line: the action plugin's
#      own cost, without zornectl's;
# then the share of Ansible's run that is its own overhead, beyond each of the two zornectl runs.
# Everything stays on 127.0.0.0/8.
#   AZU_BUILD_DIR  the release build to use (default build), made with
#                  cmake --preset default && cmake --build --preset default
# Ends with status 1 when a run fails or the second runs store anything; the ratio to the floor
# is reported, not enforced.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${AZU_BUILD_DIR:-build}
bin=$top/$build/bin
for program in zorne-emulator zornectl; do
  if [ ! -x "$bin/$program" ]; then
    echo "ansible_fleet.sh: $bin/$program is missing; build the release preset first" >&2
    exit 2
  fi
done
command -v ansible-playbook >/dev/null || { echo "ansible-core is missing" >&2; exit 2; }
port=${AZU_FLEET_PORT:-19800}
count=100
forks=16
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. tests/ansible/fleet_inventory.sh
ansible_here "$top" "$work"
export VIREO_KNOWN_SERVERS=$work/known
unset VIREO_PORT
password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$work/password"
chmod 600 "$work/password"

for i in $(seq 0 $((count - 1))); do
  mkdir -p "$work/root$i/azu/server/dev0"
  printf 'Name=zorne%d\r\nsnmp.version=1\r\nsnmp.getcommunityname=old\r\n' "$i" \
    >"$work/root$i/azu/server/dev0/maj_0.cfg"
  ZORNE_ADMIN_PASSWORD=$password "$bin/zorne-emulator" --root "$work/root$i" \
    --listen "127.0.0.$((10 + i)):$port" --name "zorne$i" >"$work/emulator$i.log" 2>&1 &
  pids[i]=$!
done
: >"$work/servers"
hosts=()
for i in $(seq 0 $((count - 1))); do
  for _ in $(seq 200); do
    grep -q '^zorne-emulator listening' "$work/emulator$i.log" && break
    sleep 0.05
  done
  echo "127.0.0.$((10 + i)):$port" >>"$work/servers"
  hosts+=("zorne$i=127.0.0.$((10 + i)):$port")
done
zorne_inventory "${hosts[@]}" >"$work/inventory.yml"
echo "$count emulators listening on 127.0.0.10-$((9 + count)):$port"

puts() { cat "$work"/root*/.zorne/events.log 2>/dev/null | grep -c ' put ' || true; }
seconds() { echo "$2 - $1" | bc; }
fail=0
report() {  # report LABEL START END STORES CPU
  printf '%-44s wall %6.2f s, cpu %6.2f s, %3d stores\n' "$1" "$(seconds "$2" "$3")" "$5" "$4"
}
# cpu: user and system seconds of the children this shell has waited for, which on a machine
# shared with other work says more than the wall time alone
children_cpu() {  # sets cpu (in this shell: times in a subshell counts that subshell's children)
  times >"$work/times"
  cpu=$(awk 'END { split($1, u, "m"); split($2, s, "m"); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
    "$work/times")
}
zornectl_once() {  # zornectl_once COMMUNITY: one process over all
  "$bin/zornectl" snmp --get-community "$1" --set-community private \
    --zorne-password-file "$work/password" --servers-file "$work/servers" \
    --parallel "$forks" --json >"$work/out.json" 2>"$work/err" || fail=1
}
zornectl_each() {  # zornectl_each COMMUNITY: one process per server, $forks at a time
  xargs -P "$forks" -I{} "$bin/zornectl" snmp --get-community "$1" --set-community private \
    --zorne-password-file "$work/password" --json {} <"$work/servers" >"$work/out.json" \
    2>"$work/err" || fail=1
}
playbook() {  # playbook COMMUNITY
  ansible-playbook -f "$forks" -i "$work/inventory.yml" "$top/tests/ansible/site.yml" \
    -e "zornectl=$bin/zornectl" -e "known_servers=$VIREO_KNOWN_SERVERS" -e "community=$1" \
    -e "password=$password" >"$work/ansible.out" 2>&1 || fail=1
}
cat >"$work/debug.yml" <<'EOF'
- name: One task per host that Ansible runs in its worker
  hosts: zornes
  gather_facts: false
  tasks:
    - name: The server's name
      ansible.builtin.debug:
        msg: "{{ zorne_server }}"
EOF
floor() {
  ansible-playbook -f "$forks" -i "$work/inventory.yml" "$work/debug.yml" >"$work/debug.out" 2>&1 ||
    fail=1
}
cat >"$work/stub-zornectl" <<'EOF'
#!/bin/sh
echo '{"server":"stub","outcome":"done","changed":false,"message":"unchanged","status":0}'
EOF
chmod +x "$work/stub-zornectl"
stub() {
  ansible-playbook -f "$forks" -i "$work/inventory.yml" "$top/tests/ansible/site.yml" \
    -e "zornectl=$work/stub-zornectl" -e "known_servers=$VIREO_KNOWN_SERVERS" -e community=c \
    -e "password=$password" >"$work/stub.out" 2>&1 || fail=1
}
timed() {  # timed LABEL COMMAND...: runs it, reports wall time, cpu time and stores
  local label=$1 before start end cpu_before
  shift
  before=$(puts)
  children_cpu
  cpu_before=$cpu
  start=$(date +%s.%N)
  "$@"
  end=$(date +%s.%N)
  children_cpu
  last_cpu=$(echo "$cpu - $cpu_before" | bc)
  last_stores=$(( $(puts) - before ))
  last_wall=$(seconds "$start" "$end")
  report "$label" "$start" "$end" "$last_stores" "$last_cpu"
}

# Pins the 100 keys, so every figure is for a fleet the library already knows.
zornectl_once warm-up

timed "zornectl, 1 process, first run" zornectl_once a
zornectl_first=$last_wall
timed "zornectl, 1 process, second run" zornectl_once a
[ "$last_stores" = 0 ] || { echo "  MISSED: the second run stored"; fail=1; }
timed "zornectl, 1 process per server, first run" zornectl_each b
each_first=$last_wall
each_first_cpu=$last_cpu
timed "zornectl, 1 process per server, second run" zornectl_each b
[ "$last_stores" = 0 ] || { echo "  MISSED: the second run stored"; fail=1; }
timed "ansible-playbook -f $forks, debug floor" floor
debug_wall=$last_wall
debug_cpu=$last_cpu
timed "ansible-playbook -f $forks, first run" playbook c
ansible_first=$last_wall
ansible_first_cpu=$last_cpu
[ "$last_stores" = "$count" ] || { echo "  MISSED: not every server stored"; fail=1; }
timed "ansible-playbook -f $forks, second run" playbook c
ansible_second=$last_wall
ansible_second_cpu=$last_cpu
[ "$last_stores" = 0 ] || { echo "  MISSED: the second run stored"; fail=1; }
timed "ansible-playbook -f $forks, zornectl a stub" stub
stub_wall=$last_wall
stub_cpu=$last_cpu
grep -E '^zorne0 ' "$work/ansible.out" || true

echo
printf '%-40s %8s %6s %8s %6s  %s\n' "over $count hosts, -f $forks" wall ratio cpu ratio \
  "(to the debug floor; goal: wall ratio <= 1.50)"
row() {  # row LABEL WALL CPU [VERDICT]: the times and their ratios to the floor's
  local wall_ratio cpu_ratio verdict=
  wall_ratio=$(echo "$2 / $debug_wall" | bc -l)
  cpu_ratio=$(echo "$3 / $debug_cpu" | bc -l)
  if [ -n "${4:-}" ]; then
    verdict=MISSED
    [ "$(echo "$wall_ratio <= 1.5" | bc -l)" = 1 ] && verdict=met
  fi
  printf '%-40s %6.2f s %6.2f %6.2f s %6.2f  %s\n' "$1" "$2" "$wall_ratio" "$3" "$cpu_ratio" \
    "$verdict"
}
row "ansible.builtin.debug" "$debug_wall" "$debug_cpu"
row "azu.zorne.zorne_snmp, first run" "$ansible_first" "$ansible_first_cpu" goal
row "azu.zorne.zorne_snmp, second run" "$ansible_second" "$ansible_second_cpu" goal
# what the two add up from: the action plugin without zornectl's work, and zornectl without
# Ansible (the same processes, $forks at a time)
row "  zorne_snmp with a stub zornectl" "$stub_wall" "$stub_cpu"
row "  zornectl alone, 1 process per server" "$each_first" "$each_first_cpu"
echo

share() { echo "100 * ($ansible_first - $1) / $ansible_first" | bc -l; }
printf "Ansible's own share of its first run: %.0f %% beyond one zornectl process, %.0f %% beyond\n" \
  "$(share "$zornectl_first")" "$(share "$each_first")"
echo "one zornectl process per server"
[ "$fail" = 0 ] || { tail -n 20 "$work/err" "$work/ansible.out"; }
exit $fail
