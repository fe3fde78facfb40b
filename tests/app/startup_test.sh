#!/usr/bin/env bash
# The command line as an administrator meets it: without a display, an unknown first argument
# ends at once with status 0, prints nothing and opens no window (Qt would abort without a
# display); without azuqvc-gui beside it, no argument fails with 127 and says why on standard
# error; installed, it finds azuqvc-gui in its libexec folder. The headless watcher is started
# only inside network namespaces, by its own tests.
set -u
bin=$1
fail=0
check() {
  local out rc
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" "$@" 2>&1)
  rc=$?
  if [ "$rc" -ne 0 ] || [ -n "$out" ]; then
    echo "azuqvc $*: status $rc, output: $out"
    fail=1
  fi
}
check -h
check --help printerip
check printerip2

alone=$(mktemp -d)
trap 'rm -rf "$alone"' EXIT
cp "$bin" "$alone/azuqvc"
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$alone/azuqvc" 2>&1 >/dev/null)
rc=$?
if [ "$rc" -ne 127 ] || [[ "$err" != "azuqvc: cannot start $alone/azuqvc-gui: "?* ]]; then
  echo "azuqvc without azuqvc-gui: status $rc, standard error: $err"
  fail=1
fi

# The installed layout (the default install folders): bin/azuqvc hands over to
# libexec/azuqvc/azuqvc-gui with its arguments.
mkdir -p "$alone/usr/bin" "$alone/usr/libexec/azuqvc"
cp "$bin" "$alone/usr/bin/azuqvc"
printf '#!/bin/sh\necho "windows $0 $#"\n' >"$alone/usr/libexec/azuqvc/azuqvc-gui"
chmod +x "$alone/usr/libexec/azuqvc/azuqvc-gui"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$alone/usr/bin/azuqvc" 2>&1)
rc=$?
if [ "$rc" -ne 0 ] || [ "$out" != "windows $alone/usr/libexec/azuqvc/azuqvc-gui 0" ]; then
  echo "installed azuqvc: status $rc, output: $out"
  fail=1
fi
exit $fail
