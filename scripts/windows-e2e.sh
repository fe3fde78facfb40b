# The Windows programs against Linux zorne-emulators, sourced by scripts/windows-tests.sh inside
# its network namespace (only loopback up), with wine, $work (a scratch folder), $emulator (the
# Linux zorne-emulator) and $bin (build-windows/bin) set. Every server is on 127.0.0.1.

# The Windows name of a path of this machine (wine's drive Z: is /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# start_emulator NAME [OPTION...]: a zorne-emulator with the root $work/NAME (made with an SNMP
# file saying version 3 when new) on a free loopback port, or the one --listen gives; its address
# goes into $address.
start_emulator() {
  local root=$work/$1
  shift
  if [ ! -d "$root" ]; then
    mkdir -p "$root/azu/server/dev0"
    printf 'snmp.version=3\r\n' >"$root/azu/server/dev0/maj_0.cfg"
  fi
  local listen=(--listen 127.0.0.1:0)
  [[ " $* " == *" --listen "* ]] && listen=()
  "$emulator" --root "$root" "${listen[@]}" "$@" >"$root.out" 2>&1 &
  emulators+=($!)
  address=
  for _ in $(seq 100); do
    address=$(sed -n 's/^zorne-emulator listening on //p' "$root.out")
    [ -n "$address" ] && return 0
    sleep 0.1
  done
  echo "zorne-emulator did not start: $(cat "$root.out")"
  return 1
}

# hostile_server NAME: a TLS server on a free loopback port that answers the first request with
# what `hostile_NAME` writes; its address goes into $address.
hostile_server() {
  local name=$1 port
  port=$((20000 + RANDOM % 40000))
  while [ -n "$(ss -Hltn "sport = :$port")" ]; do port=$((20000 + RANDOM % 40000)); done
  ("hostile_$name" | openssl s_server -quiet -naccept 1 -accept "127.0.0.1:$port" \
    -cert "$work/hostile-cert.pem" -key "$work/hostile-key.pem" >/dev/null 2>&1) &
  emulators+=($!)
  address=127.0.0.1:$port
  # Listening; a trial connection would take its one accept.
  for _ in $(seq 50); do
    [ -n "$(ss -Hltn "sport = :$port")" ] && return 0
    sleep 0.1
  done
}
# Each is written to once the request came (s_server reads its input only then), and ends with
# the connection.
hostile_headers() {
  printf 'HTTP/1.1 200 OK\r\n'
  while printf 'X-Filler: %01000d\r\n' 0; do :; done
}
hostile_body() {
  printf 'HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n'
  local chunk
  chunk=$(printf '%065536d' 0)
  while printf '10000\r\n%s\r\n' "$chunk"; do :; done
}
hostile_trickle() {
  printf 'HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n'
  while printf 'X'; do sleep 0.2; done
}

# zornectl.exe PAGE... against $1, from the bin folder; its output in $out, its status in $code.
zornectl_exe() {
  out=$(cd "$bin" && timeout 90 wine zornectl.exe "$@" 2>&1) && code=0 || code=$?
}

# zornectl.exe stores a page byte for byte as the Linux zornectl does; a server that shows another
# key is refused before the password goes; hostile answers are bounded. Sets status=1 on a fault.
zornectl_e2e() {
  local linux_zornectl=$1 password=$work/zorne-password
  printf 'RONDEL\n' >"$password"
  chmod 600 "$password"
  local page=(snmp --version 1 --get-community public --set-community private)

  start_emulator linux-side
  VIREO_KNOWN_SERVERS=$work/linux-known "$linux_zornectl" "${page[@]}" \
    --zorne-password-file "$password" "$address" >/dev/null
  start_emulator windows-side
  local server=$address
  zornectl_exe "${page[@]}" --zorne-password-file "$(windows_path "$password")" "$server"
  local stored=$work/windows-side/azu/server/dev0/maj_0.cfg
  if [ "$code" != 0 ] || ! cmp -s "$stored" "$work/linux-side/azu/server/dev0/maj_0.cfg"; then
    echo "zornectl.exe snmp: status $code, stored '$(od -c "$stored" | head -3)'; output: $out"
    status=1
  fi

  # Only what differs is changed: the Dual IP page twice, the second time nothing is stored or set
  # (the attribute is read through the library's own VIREO_getAttribute).
  local events dual=(dual-ip --address 100.64.1.20 --json --zorne-password-file
    "$(windows_path "$password")" "$server")
  zornectl_exe "${dual[@]}"
  events=$(grep -c -E ' (put|delete|attribute) ' "$work/windows-side/.zorne/events.log" || true)
  zornectl_exe "${dual[@]}"
  if [ "$code" != 0 ] || [[ "$out" != *'"changed":false'* ]] ||
    [ "$(grep -c -E ' (put|delete|attribute) ' "$work/windows-side/.zorne/events.log")" != "$events" ]; then
    echo "zornectl.exe dual-ip a second time: status $code, output: $out"
    status=1
  fi

  # show reads the same values on Windows as on Linux, and stores nothing.
  local shown
  shown=$(VIREO_KNOWN_SERVERS=$work/linux-known "$linux_zornectl" show --json --reveal \
    --zorne-password-file "$password" "$server")
  events=$(grep -c -E ' (put|delete|attribute|reboot) ' "$work/windows-side/.zorne/events.log")
  zornectl_exe show --json --reveal --zorne-password-file "$(windows_path "$password")" "$server"
  if [ "$code" != 0 ] || [ "${out//$'\r'/}" != "$shown" ] ||
    [ "$(grep -c -E ' (put|delete|attribute|reboot) ' "$work/windows-side/.zorne/events.log")" != "$events" ]; then
    echo "zornectl.exe show: status $code, output: $out; Linux read: $shown"
    status=1
  fi

  # The key pinned on Windows has the fingerprint the emulator computed with OpenSSL.
  local key
  key=$(sed -n 's/^zorne-emulator key //p' "$work/windows-side.out")
  if ! grep -qxF "$server $key" "$work/known_servers"; then
    echo "zornectl.exe pinned '$(cat "$work/known_servers")', the emulator's key is $key"
    status=1
  fi

  # A password file others may read is refused before any server is asked (wine shows a file's
  # mode as its access list: 644 lets Everyone read).
  cp "$password" "$work/shared-password"
  chmod 644 "$work/shared-password"
  zornectl_exe "${page[@]}" --zorne-password-file "$(windows_path "$work/shared-password")" "$server"
  if [ "$code" != 2 ] || [[ "$out" != *"readable by others"* ]]; then
    echo "zornectl.exe with a password file Everyone may read: status $code; $out"
    status=1
  fi

  # The same server with a new key: refused, and the emulator logged nothing new (no login, no
  # refused request).
  kill "${emulators[-1]}" && wait "${emulators[-1]}" 2>/dev/null || true
  rm -f "$work"/windows-side/.zorne/tls-*.pem
  local events
  events=$(wc -l <"$work/windows-side/.zorne/events.log")
  start_emulator windows-side --listen "$server"
  zornectl_exe "${page[@]}" --zorne-password-file "$(windows_path "$password")" "$server"
  local after
  after=$(wc -l <"$work/windows-side/.zorne/events.log")
  if [ "$code" != 1 ] || [[ "$out" != *"7017"* ]] || [ "$after" != "$events" ]; then
    echo "zornectl.exe against a changed key: status $code, $after events (had $events); $out"
    status=1
  fi

  # keys lists that pin; keys forget removes it, and the next connection pins the new key.
  zornectl_exe keys
  if [ "$code" != 0 ] || [[ "$out" != *"$server"*"$key"* ]]; then
    echo "zornectl.exe keys: status $code; $out"
    status=1
  fi
  zornectl_exe keys forget "$server"
  local forgotten=$code
  zornectl_exe "${page[@]}" --zorne-password-file "$(windows_path "$password")" "$server"
  if [ "$forgotten" != 0 ] || [ "$code" != 0 ] || grep -qF "$key" "$work/known_servers"; then
    echo "zornectl.exe keys forget $server: status $forgotten, then the page: status $code; $out"
    status=1
  fi

  # Hostile answers to the login: bounded in size and in time.
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -subj /CN=hostile -keyout "$work/hostile-key.pem" -out "$work/hostile-cert.pem" 2>/dev/null
  local name expected start
  for name in headers:7014 body:7011 trickle:7014; do
    expected=${name#*:} name=${name%%:*}
    hostile_server "$name"
    start=$(date +%s)
    zornectl_exe "${page[@]}" --zorne-password-file "$(windows_path "$password")" "$address"
    if [ "$code" != 1 ] || [[ "$out" != *" $expected "* ]] ||
      [ $(($(date +%s) - start)) -gt 45 ]; then
      echo "zornectl.exe against endless $name: status $code after $(($(date +%s) - start)) s; $out"
      status=1
    fi
  done
}
