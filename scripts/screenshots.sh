#!/usr/bin/env bash
# Takes the README's screenshots on a virtual display: the main window and the About box
# (opened from the window's context menu, as a user would). Needs xvfb, xdotool, imagemagick and
# openbox (a window manager, so that captions and frames show).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot_tools.sh
cmake --preset default >/dev/null
cmake --build --preset default --target azuqvc >/dev/null

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  openbox >/dev/null 2>&1 &
  sleep 1
  LANG=en_US.UTF-8 build/bin/azuqvc &
  pid=$!
  for _ in $(seq 50); do win=$(xdotool search --onlyvisible --name "^Azu Quorvane Config$" 2>/dev/null | head -1) && [ -n "$win" ] && break; sleep 0.2; done
  sleep 1
  import -frame -window "$win" docs/main-window.png
  xdotool mousemove --window "$win" 105 83 click 1
  sleep 0.5
  xdotool mousemove --window "$win" 300 118 click 1 type "new-admin-pw"
  sleep 0.5
  import -frame -window "$win" docs/main-window-admin.png
  xdotool mousemove --window "$win" 200 200 click 3
  sleep 0.5
  xdotool key Down Return
  for _ in $(seq 50); do about=$(xdotool search --onlyvisible --name "^About Azu Quorvane Config$" 2>/dev/null | head -1) && [ -n "$about" ] && break; sleep 0.2; done
  sleep 1
  import -frame -window "$about" docs/about-box.png
  kill $pid
'
echo "docs/main-window.png docs/main-window-admin.png docs/about-box.png written"
