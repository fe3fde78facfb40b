#!/usr/bin/env bash
# Takes the README's screenshots of the Windows program: azuqvc.exe under wine on a virtual
# display, inside a network namespace of its own (as the Windows tests run): the main window, and
# the QV4000 strip in French. Needs the windows preset's build, wine, xvfb, xdotool, imagemagick
# and openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot_tools.sh
command -v wine >/dev/null || { echo "needs wine (apt-get install wine wine64)" >&2; exit 1; }
cmake --preset windows >/dev/null
cmake --build --preset windows --target azuqvc >/dev/null

export WINEPREFIX=$PWD/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unshare -n xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  set -e
  ip link set lo up
  openbox >/dev/null 2>&1 &
  wineboot --init >/dev/null 2>&1
  shoot() {  # language, output, how many series down from the first
    (cd build-windows/bin && exec env LANG=$1 LC_ALL=$1 wine azuqvc.exe >/dev/null 2>&1) &
    local pid=$! win=
    for _ in $(seq 120); do
      win=$(xdotool search --onlyvisible --name "^Azu Quorvane Config$" 2>/dev/null | head -1) || true
      [ -n "$win" ] && break
      sleep 0.5
    done
    sleep 2
    for _ in $(seq "$3"); do xdotool windowfocus --sync "$win" key Down; sleep 0.5; done
    sleep 1
    import -frame -window "$win" "$2"
    xdotool windowfocus --sync "$win" key Escape
    wait "$pid" || true
  }
  shoot en_US.UTF-8 docs/windows-main-window.png 0
  shoot fr_FR.UTF-8 docs/windows-tabs-qv4000-fr.png 1
  wineserver -k 2>/dev/null || true
'
echo "docs/windows-main-window.png docs/windows-tabs-qv4000-fr.png written"
