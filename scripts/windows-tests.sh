#!/usr/bin/env bash
# The Windows build: cross-compiles the `windows` preset (MinGW-w64) and runs its tests under
# wine, every wine process inside a network namespace of its own with only loopback up, so that
# nothing the Windows code does with names or sockets can leave the machine, on a virtual display
# (Xvfb) of that namespace for the windows. Skipped, with the
# reason, where the cross compiler, wine or namespaces are missing. The build makes its own
# make_text_blob for this machine (in build-windows/host-tools/). The Windows programs reach a
# Linux zorne-emulator of the same namespace on 127.0.0.1 (from AZU_LINUX_BUILD, default
# build-debug; those tests are skipped without it).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "windows: skipped, the MinGW-w64 cross compiler is not installed"
  exit 0
fi
cmake --preset windows >/dev/null
cmake --build --preset windows

for tool in wine Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "windows tests: skipped, $tool is not installed"
    exit 0
  fi
done
isolate=(unshare -n)
if ! unshare -n true 2>/dev/null; then
  if unshare -rn true 2>/dev/null; then
    isolate=(unshare -rn)
  else
    echo "windows tests: skipped, no network namespace can be made here (needs root or user namespaces)"
    exit 0
  fi
fi

build=$PWD/build-windows
export WINEPREFIX=$build/wine
export WINEDEBUG=-all
# No Gecko or Mono prompts: the tests need neither.
# No Gecko or Mono prompts, and a crash ends the program instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
empty=$build/empty-drive-e
rm -rf "$empty" && mkdir -p "$empty"
emulator=$PWD/${AZU_LINUX_BUILD:-build-debug}/bin/zorne-emulator
[ -x "$emulator" ] || { echo "windows: no $emulator, the tests against it are skipped"; emulator=; }

outer=0
"${isolate[@]}" bash -s "$build" "$empty" "$emulator" <<'INSIDE' || outer=1
set -euo pipefail
build=$1
empty=$2
emulator=$3
ip link set lo up 2>/dev/null || true
# The windows need a display: a virtual one of this namespace, on a free display number.
displayfile=$(mktemp)
Xvfb -displayfd 5 -nolisten tcp -screen 0 1024x768x24 5>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$displayfile")
rm -f "$displayfile"
work=$(mktemp -d)
emulators=()
stop() {
  wineserver -k 2>/dev/null || true
  for pid in "${emulators[@]}"; do pkill -P "$pid" 2>/dev/null || true; done
  kill "$xvfb" "${emulators[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
bin=$build/bin
source scripts/windows-e2e.sh
# Pins go to a file of this run, named as the Windows programs see it (Z: is /).
export VIREO_KNOWN_SERVERS=$(windows_path "$work/known_servers")
export VIREO_DISCOVERY_TARGETS=127.0.0.9
if [ -n "$emulator" ]; then
  start_emulator window
  export AZU_EMULATOR=$address
fi
wineboot --init >/dev/null 2>&1
# Drive E: of a Zorne server, empty: the watcher must end at once.
ln -sfn "$empty" "$WINEPREFIX/dosdevices/e:"
status=0
# A wine program that fails to start at all (seen once: no output in 0.03 s) gets a second try.
ctest --test-dir "$build" --output-on-failure -j 2 --repeat until-pass:2 || status=1

out=$(cd "$bin" && wine azuqvc.exe -h 2>&1) && code=0 || code=$?
if [ "$code" != 0 ] || [ -n "$out" ]; then
  echo "azuqvc.exe -h: status $code, output '$out' (expected 0 and nothing)"; status=1
fi
# Without an argument: the main window opens, and Escape closes it with status 0.
(cd "$bin" && exec wine azuqvc.exe >/dev/null 2>&1) &
program=$!
window=
for _ in $(seq 120); do
  window=$(xdotool search --name '^Azu Quorvane Config$' 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "azuqvc.exe without an argument: no main window within 60 s"; status=1
  kill "$program" 2>/dev/null || true
else
  sleep 1
  xdotool windowfocus --sync "$window" key Escape
  for _ in $(seq 80); do kill -0 "$program" 2>/dev/null || break; sleep 0.25; done
  wait "$program" && code=0 || code=$?
  [ "$code" = 0 ] || { echo "azuqvc.exe: status $code after Escape closed the window"; status=1; }
fi
start=$(date +%s)
(cd "$bin" && timeout 60 wine azuqvc.exe printerip >/dev/null 2>&1) && code=0 || code=$?
if [ "$code" != 0 ] || [ $(( $(date +%s) - start )) -gt 30 ]; then
  echo "azuqvc.exe printerip with an empty drive E:: status $code after $(( $(date +%s) - start )) s"
  status=1
fi
if [ -n "$emulator" ]; then
  zornectl_e2e "$(dirname "$emulator")/zornectl"
  [ "$status" = 0 ] && echo "windows: zornectl.exe stores the Linux bytes, refuses a changed key" \
    "before the password and is bounded by hostile servers"
fi
[ "$status" = 0 ] && echo "windows: azuqvc.exe -h, the main window and printerip as expected"
exit $status
INSIDE

# The installer: its tables and files, then install, upgrade and removal under wine.
scripts/windows-msi-check.sh "$build" || outer=1
# The headless watcher against a printer and the local server, in namespaces of its own.
scripts/windows-watcher-check.sh "$build" || outer=1
exit $outer
