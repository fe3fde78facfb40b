#!/usr/bin/env bash
# Takes the screenshots of the window outside an English session (docs/): the QV4000 tab strip in
# French, wrapped into rows, and the main window under LC_ALL=C.UTF-8, as containers and ssh
# sessions run it. Needs xvfb, xdotool, imagemagick and openbox. AZU_BUILD_DIR names another
# build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot_tools.sh
build_dir=${AZU_BUILD_DIR:-build}
if [ -z "${AZU_BUILD_DIR:-}" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target azuqvc >/dev/null
fi

AZU_BIN="$build_dir/bin/azuqvc" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  openbox >/dev/null 2>&1 &
  sleep 1
  # $1: locale variables; $2: Down presses in the series list; $3: the picture.
  shoot() {
    env -u LANGUAGE $1 "$AZU_BIN" &
    local pid=$! win=
    for _ in $(seq 50); do win=$(xdotool search --onlyvisible --name "^Azu Quorvane Config$" 2>/dev/null | head -1) && [ -n "$win" ] && break; sleep 0.2; done
    sleep 1
    [ "$2" -gt 0 ] && xdotool key --delay 80 $(printf "Down %.0s" $(seq "$2"))
    sleep 0.6
    import -frame -window "$win" "$3"
    kill $pid
    wait $pid 2>/dev/null || true
  }
  shoot "LANG=fr_FR.UTF-8 LC_ALL= LC_MESSAGES=" 1 docs/tabs-qv4000-fr.png
  shoot "LC_ALL=C.UTF-8" 0 docs/main-window-c-locale.png
'
echo "docs/tabs-qv4000-fr.png docs/main-window-c-locale.png written"
