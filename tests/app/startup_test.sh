#!/usr/bin/env bash
# The command line as an administrator meets it: without a display, an unknown first argument
# ends at once with status 0, prints nothing and opens no window (Qt would abort without a
# display). The headless watcher is started only inside network namespaces, by its own tests.
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
exit $fail
