#!/usr/bin/env bash
# Installs what is missing, builds the debug preset (sanitizers on), runs the fuzz targets for a
# short while (clang, libFuzzer), builds and tests the Windows cross build under wine, and then
# runs every test with ctest, whose summary ends the output.
set -euo pipefail
cd "$(dirname "$0")"
# Whatever else happens, the run ends by checking that no test took the machine's /dev/null: a
# regular file there breaks every program on the machine until someone notices.
check_dev_null() {
  local status=$?
  if [ ! -c /dev/null ] || [ -e /dev/null.1 ]; then
    echo "FATAL: /dev/null is no longer the character device (or /dev/null.1 exists):" >&2
    ls -la /dev/null* >&2 || true
    exit 1
  fi
  echo "/dev/null is still a character device"
  exit "$status"
}
trap check_dev_null EXIT
scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug

cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target fuzz_emulator_request fuzz_discovery_datagram \
  fuzz_discovery_answer fuzz_http_answer fuzz_arp_listing fuzz_snmp_reply fuzz_text_table fuzz_line_rewrite
fuzz() {
  local target=$1
  shift
  local corpus="build-fuzz/corpus-$target"
  rm -rf "$corpus" && mkdir -p "$corpus"
  if ! "build-fuzz/bin/$target" -max_total_time=15 -artifact_prefix="build-fuzz/$target-" \
    "$corpus" "$@" 2>"build-fuzz/$target.log"; then
    tail -n 40 "build-fuzz/$target.log" >&2
    echo "$target found a crash; the input is in build-fuzz/$target-*" >&2
    exit 1
  fi
  echo "$target: $(grep -E '^Done [0-9]+ runs' "build-fuzz/$target.log")"
}
fuzz fuzz_emulator_request -dict=emulator/fuzz/request.dict emulator/fuzz/seeds/request
fuzz fuzz_discovery_datagram
fuzz fuzz_discovery_answer
fuzz fuzz_http_answer vireo/fuzz/seeds/http_answer
fuzz fuzz_arp_listing attach/fuzz/seeds/arp_listing
fuzz fuzz_snmp_reply attach/fuzz/seeds/snmp_reply
fuzz fuzz_text_table app/fuzz/seeds/text_table
fuzz fuzz_line_rewrite server/fuzz/seeds/line_rewrite

# The Windows build and its tests under wine (skipped, with the reason, without the tools).
scripts/windows-tests.sh

scripts/check-packages.sh
# The Ansible collection as its maintainers publish it: sanity, unit tests, lint, build.
scripts/ansible-checks.sh
ctest --preset debug -j "$(nproc)"
