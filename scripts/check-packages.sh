#!/usr/bin/env bash
# Builds the Debian packages and checks them: lintian (errors and warnings fail, overrides
# carry their reason), the desktop entry and catalogue entry, each package's files, the
# programs run from a scratch root, and the emulator service's sandbox.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for tool in dpkg-buildpackage dh lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "packages: skipped, missing ${missing[*]} (scripts/install-deps.sh installs them)"
  exit 0
fi

scripts/build-deb.sh >/dev/null
out=build-deb
fail=0
problem() {
  echo "packages: $*" >&2
  fail=1
}

status=0
lintian --fail-on error,warning "$out"/azuqvc_*.changes >"$out/lintian.log" 2>&1 || status=$?
grep -v '^running with root' "$out/lintian.log" || true
[ "$status" -eq 0 ] || problem "lintian reports errors or warnings (above)"

root=$PWD/$out/root
rm -rf "$root" && mkdir -p "$root"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
# Each package's files that users and other programs rely on.
expect() {
  local package=$1
  shift
  local deb listing
  deb=$(ls "$out/${package}"_*.deb)
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for path in "$@"; do
    grep -qxF "./$path" <<<"$listing" || problem "$package lacks /$path"
  done
  dpkg -x "$deb" "$root"
}
expect azuqvc usr/bin/azuqvc usr/bin/zornectl usr/libexec/azuqvc/azuqvc-gui \
  usr/share/applications/org.example.azuqvc.desktop \
  usr/share/metainfo/org.example.azuqvc.metainfo.xml \
  usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/azuqvc.png \
  usr/share/icons/hicolor/scalable/apps/azuqvc.svg \
  usr/share/man/man1/azuqvc.1.gz usr/share/man/man1/zornectl.1.gz \
  lib/systemd/system/azuqvc-printerip.service
expect zorne-emulator usr/bin/zorne-emulator usr/share/man/man1/zorne-emulator.1.gz \
  lib/systemd/system/zorne-emulator.service etc/default/zorne-emulator
expect libvireo1 "usr/lib/$multiarch/libvireo.so.1"
expect libvireo-dev usr/include/vireo.h "usr/lib/$multiarch/libvireo.so" \
  "usr/lib/$multiarch/pkgconfig/vireo.pc"

desktop-file-validate "$root"/usr/share/applications/*.desktop ||
  problem "desktop-file-validate failed"
# --no-net: the screenshot's address is not fetched.
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$out/appstream.log" 2>&1 ||
  { cat "$out/appstream.log" >&2; problem "appstreamcli validate failed"; }

# The programs as installed, without a display.
export LD_LIBRARY_PATH=$root/usr/lib/$multiarch
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
output=$(run "$root/usr/bin/azuqvc" -h 2>&1) && [ -z "$output" ] ||
  problem "azuqvc -h: not silent or failed: $output"
run "$root/usr/bin/zornectl" --help >/dev/null 2>&1 || problem "zornectl --help failed"
run "$root/usr/bin/zorne-emulator" --help 2>&1 | grep -q '^usage: zorne-emulator' ||
  problem "zorne-emulator --help failed"
# Without an argument azuqvc hands over to azuqvc-gui in libexec, which then stops for want of
# a display; a failed hand-over would say "cannot start".
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
output=$(cd "$scratch" && ulimit -c 0 && run "$root/usr/bin/azuqvc" 2>&1) || status=$?
if [ "$status" -eq 127 ] || grep -q 'cannot start' <<<"$output"; then
  problem "azuqvc did not hand over to azuqvc-gui: $output"
fi

# The emulator as its service runs it (an owner-only password file, a state folder), on a free
# loopback port: it starts, listens and stops cleanly on SIGTERM.
(umask 077 && echo "check-$RANDOM$RANDOM" >"$scratch/admin-password")
"$root/usr/bin/zorne-emulator" --root "$scratch/state" --listen 127.0.0.1:0 \
  --admin-password-file "$scratch/admin-password" >"$scratch/emulator.log" 2>&1 &
emulator=$!
for _ in $(seq 100); do
  grep -q '^zorne-emulator listening on 127.0.0.1:' "$scratch/emulator.log" && break
  sleep 0.1
done
grep -q '^zorne-emulator listening on 127.0.0.1:' "$scratch/emulator.log" ||
  problem "the installed zorne-emulator did not start: $(cat "$scratch/emulator.log")"
kill -TERM "$emulator"
wait "$emulator" || problem "the installed zorne-emulator did not stop cleanly on SIGTERM"

if command -v systemd-analyze >/dev/null; then
  exposure_of() {
    systemd-analyze security --offline=true "$root/lib/systemd/system/$1.service" </dev/null 2>&1 |
      sed -n 's/.*Overall exposure level for .*: \([0-9.]*\) .*/\1/p'
  }
  echo "packages: azuqvc-printerip.service exposure $(exposure_of azuqvc-printerip)"
  # The emulator is reachable from the network: its sandbox must stay tight.
  exposure=$(exposure_of zorne-emulator)
  echo "packages: zorne-emulator.service exposure ${exposure:-unknown}"
  awk -v e="${exposure:-99}" 'BEGIN { exit !(e <= 2.0) }' ||
    problem "zorne-emulator.service exposure ${exposure:-unknown}, above 2.0"
fi

[ "$fail" -eq 0 ] && echo "packages: $(cd "$out" && ls ./*.deb | grep -vc dbgsym) built and checked"
exit "$fail"
