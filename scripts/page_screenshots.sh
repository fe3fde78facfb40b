#!/usr/bin/env bash
# Takes a screenshot of each configuration page on a virtual display (docs/pages-*.png), filled in
# as an administrator would: series chosen in the list, tab clicked, fields typed. Needs xvfb,
# xdotool, imagemagick and openbox. AZU_BUILD_DIR names another release build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot_tools.sh
build_dir=${AZU_BUILD_DIR:-build}
cmake --preset default -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target azuqvc >/dev/null

AZU_BIN="$build_dir/bin/azuqvc" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  openbox >/dev/null 2>&1 &
  sleep 1
  LANG=en_US.UTF-8 "$AZU_BIN" &
  pid=$!
  for _ in $(seq 50); do win=$(xdotool search --onlyvisible --name "^Azu Quorvane Config$" 2>/dev/null | head -1) && [ -n "$win" ] && break; sleep 0.2; done
  sleep 1
  click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.4; }
  type() { xdotool type --delay 20 "$1"; }
  keys() { xdotool key --delay 60 "$@"; sleep 0.4; }
  series() { click 90 22; keys $(printf "Down %.0s" $(seq "$1")) Return; sleep 0.5; }
  shot() { sleep 0.5; import -frame -window "$win" "docs/pages-$1.png"; }

  click 341 49; type "zorne-lab"

  # QV5000 Series, first tab: SNMP.
  click 362 170; type "public"
  click 362 212; type "private"
  shot snmp

  # QV4000 Series: Print Accounting, Scan to FTP, SNMP, HTTP, Admin.
  series 1
  click 318 126; keys Down Return
  click 318 158; keys Down Return
  click 318 191; type "4711"
  click 318 232; type "sysprint"
  shot accounting
  click 183 83
  click 340 119; type "ftp.example.com"; keys Tab; type "scanner"; keys Tab; type "secret"
  keys Tab; type "scans/incoming"
  shot ftp
  click 317 83
  click 159 119; keys ctrl+a; type "8080"; keys Tab ctrl+a; type "8443"
  shot http

  # QV1000 Series: Print Tallyon, Dual IP, Scan to FTP.
  series 3
  click 255 119; type "audit"; keys Tab; type "1234"
  shot tallyon
  click 143 83
  click 201 151; keys ctrl+a; type "10.20.30.40"
  click 201 192; keys ctrl+a; type "2552552550"
  shot dual-ip
  kill $pid
'
echo "docs/pages-{snmp,accounting,ftp,http,tallyon,dual-ip}.png written"
