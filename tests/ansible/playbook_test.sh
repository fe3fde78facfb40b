#!/usr/bin/env bash
# The Ansible collection with the real engine: ansible-doc on every module, then one playbook over
# three emulators on loopback, run four times:
#   1. the first run changes all three (changed=3) and reboots them;
#   2. the second changes nothing: changed=0, no store, attribute or reboot in any events log;
#   3. --check --diff -vvv with a new community shows the masked diff, never the community, and
#      stores nothing;
#   4. with one server stopped, only that host fails;
# between 3 and 4 the round trip (the group's module defaults; three pages set, read back with
# zorne_info, set again with the values read and unchanged); and discovery finds a server by
# asking its loopback address, under its name and the deprecated one. No task may start Python
# for a host: the hosts' interpreter does not exist.
# Usage: playbook_test.sh ZORNECTL ZORNE_EMULATOR
set -euo pipefail
zornectl=$1
emulator=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
if ! command -v ansible-playbook >/dev/null; then
  echo "ansible-core is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. "$top/tests/ansible/fleet_inventory.sh"
ansible_here "$top" "$work"
unset VIREO_PORT

failures=0
check() {  # check WHAT CONDITION...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

documented() {  # documented MODULE: ansible-doc reads its documentation without a word of warning
  ansible-doc -t module "$1" >"$work/doc" 2>&1 && ! grep -q -E '^(\[WARNING\]|ERROR)' "$work/doc" ||
    { cat "$work/doc"; return 1; }
}
for module in "$top"/ansible/ansible_collections/azu/zorne/plugins/modules/*.py; do
  check "ansible-doc $(basename "$module" .py)" documented "azu.zorne.$(basename "$module" .py)"
done

password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
passcode=-$(od -An -N6 -tx1 /dev/urandom | tr -d ' \n')
(umask 077 && printf '%s' "$password" >"$work/password")
declare -A servers
for i in 1 2 3; do
  mkdir -p "$work/root$i/azu/server/dev0"
  printf 'Name=zorne%d\r\nsnmp.version=1\r\nsnmp.getcommunityname=old\r\n' "$i" \
    >"$work/root$i/azu/server/dev0/maj_0.cfg"
  ZORNE_ADMIN_PASSWORD=$password "$emulator" --root "$work/root$i" --listen 127.0.0.1:0 \
    --name "zorne$i" >"$work/emulator$i.log" 2>&1 &
  pids[i]=$!
  for _ in $(seq 200); do
    grep -q '^zorne-emulator listening' "$work/emulator$i.log" && break
    sleep 0.05
  done
  servers[$i]=$(sed -n 's/^zorne-emulator listening on \([^ ]*\).*/\1/p' "$work/emulator$i.log")
  [ -n "${servers[$i]}" ] || { cat "$work/emulator$i.log"; exit 1; }
done

zorne_inventory "zorne1=${servers[1]}" "zorne2=${servers[2]}" "zorne3=${servers[3]}" \
  >"$work/inventory.yml"

# changes in the events logs: stores, attribute sets and reboots
changes() { cat "$work"/root*/.zorne/events.log | grep -c -E ' (put|attribute|delete|reboot) ' || true; }
play() {  # play PLAYBOOK [ansible-playbook options]: its output in $work/out
  local book=$1
  shift
  status=0
  ansible-playbook -i "$work/inventory.yml" "$top/tests/ansible/$book" \
    -e "zornectl=$zornectl" -e "known_servers=$work/known" \
    -e ansible_python_interpreter=/nonexistent/python3 "$@" >"$work/out" 2>&1 || status=$?
}
playbook() {  # playbook COMMUNITY [ansible-playbook options]: site.yml
  local community=$1
  shift
  play site.yml -e "community=$community" -e "password=$password" "$@"
}
recap() {  # recap HOST FIELD: the number in the host's PLAY RECAP line
  sed -n "s/^$1 .* $2=\([0-9]*\).*/\1/p" "$work/out"
}
hosts_with() {  # hosts_with FIELD N: how many hosts have FIELD=N
  local count=0
  for i in 1 2 3; do [ "$(recap "zorne$i" "$1")" = "$2" ] && count=$((count + 1)); done
  echo "$count"
}

playbook fleet
check "first run: exit 0" [ "$status" = 0 ]
check "first run: changed=3" [ "$(hosts_with changed 1)" = 3 ]
check "first run: three stores and three reboots" [ "$(changes)" = 6 ]
first=$(changes)

playbook fleet
check "second run: exit 0" [ "$status" = 0 ]
check "second run: changed=0" [ "$(hosts_with changed 0)" = 3 ]
check "second run: nothing stored, set or rebooted" [ "$(changes)" = "$first" ]

playbook renamed --check --diff -vvv
check "check mode: exit 0" [ "$status" = 0 ]
check "check mode: changed=3 reported" [ "$(hosts_with changed 1)" = 3 ]
check "check mode: the masked diff" grep -q -F -- '+snmp.getcommunityname=********' "$work/out"
check "check mode: no community shown" bash -c "! grep -q renamed '$work/out'"
check "check mode: nothing stored" [ "$(changes)" = "$first" ]

play round_trip.yml -e "password_file=$work/password" -e "passcode=$passcode" -v
check "round trip: exit 0" [ "$status" = 0 ]
check "round trip: three pages changed on each" [ "$(hosts_with changed 3)" = 3 ]
check "round trip: no passcode in the output" bash -c "! grep -q -- '$passcode' '$work/out'"
cp "$work/out" "$work/round_trip.out"

# Discovery asks the first emulator's loopback address only.
discovery() {  # discovery MODULE: its output in $work/out
  ansible localhost -m "azu.zorne.$1" -e ansible_python_interpreter=/nonexistent/python3 \
    -a "targets=127.0.0.1 port=${servers[1]##*:} zornectl_path=$zornectl" >"$work/out" 2>&1 || true
}
discovery zorne_discovery_info
check "zorne_discovery_info: the server found" grep -q '"name": "zorne1"' "$work/out"
discovery zorne_facts
check "zorne_facts: deprecated" grep -q 'azu.zorne.zorne_facts has been deprecated' "$work/out"
check "zorne_facts: the fact still set" grep -q '"zorne_servers"' "$work/out"

kill "${pids[2]}"
wait "${pids[2]}" 2>/dev/null || true
playbook stopped
check "a stopped server: exit 2" [ "$status" = 2 ]
check "a stopped server: its host fails" [ "$(recap zorne2 failed)" = 1 ]
check "a stopped server: the others go on" [ "$(hosts_with changed 1)" = 2 ]
check "a stopped server: zornectl's reason" grep -q 'the server cannot be reached' "$work/out"
check "no password in the output" bash -c "! grep -q '$password' '$work/out' '$work/round_trip.out'"

if [ "$failures" != 0 ]; then
  cat "$work/out"
  echo "0 passed, $failures failed"
  exit 1
fi
