#!/usr/bin/env bash
# Builds the Debian packages (azuqvc, zorne-emulator, libvireo1, libvireo-dev) into build-deb/
# from a copy of the working tree, so that the build leaves the tree as it found it.
# Install them with: sudo apt install ./build-deb/*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-deb
src=$out/azuqvc
rm -rf "$out" && mkdir -p "$src"
# Tracked and new files as they are now; ignored ones (build folders) stay behind.
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar -c --null -T - -f - | tar -x -C "$src"
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=2 nocheck}
(cd "$src" && dpkg-buildpackage -us -uc -b) >"$out/build.log" 2>&1 || {
  tail -n 60 "$out/build.log" >&2
  echo "the package build failed; the whole log is $out/build.log" >&2
  exit 1
}
ls "$out"/*.deb
