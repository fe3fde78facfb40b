#!/usr/bin/env bash
# The Windows installer: gathers the programs of a Windows build (the `windows` preset) and the
# icon in one folder and makes an MSI of them with wixl (msitools), from windows/azuqvc.wxs.
#
#   scripts/windows-msi.sh [--version V] [--vireo DIR] <build-dir> [out.msi]
#
# The version is the project's (the top CMakeLists.txt); --version gives another, as the upgrade
# check does for a newer package. The build's vireo10.dll and vireo_azum.dll are our own
# library; --vireo DIR packs the maker's two DLLs instead.
# Without out.msi: <build-dir>/azuqvc-<version>.msi.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)

usage() { echo "usage: $0 [--version V] [--vireo DIR] <build-dir> [out.msi]" >&2; exit 2; }
version=
vireo=
while [ $# -gt 0 ]; do
  case $1 in
    --version) [ $# -ge 2 ] || usage; version=$2; shift 2 ;;
    --vireo) [ $# -ge 2 ] || usage; vireo=$2; shift 2 ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] && [ $# -le 2 ] || usage

if ! command -v wixl >/dev/null; then
  echo "windows-msi: wixl is not installed (Debian package wixl, beside msitools)" >&2
  exit 1
fi
[ -d "$1" ] || { echo "windows-msi: no build folder $1" >&2; exit 1; }
build=$(cd "$1" && pwd)
if [ -z "$version" ]; then
  version=$(sed -n 's/^project([A-Za-z0-9_]* VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
fi
# What Windows Installer compares: up to three fields, 255.255.65535 at most; a fourth would be
# ignored by the upgrade, so a package differing only there could not replace the other.
if ! [[ $version =~ ^([0-9]+)\.([0-9]+)(\.([0-9]+))?$ ]] ||
   [ "${BASH_REMATCH[1]}" -gt 255 ] || [ "${BASH_REMATCH[2]}" -gt 255 ] ||
   [ "${BASH_REMATCH[4]:-0}" -gt 65535 ]; then
  echo "windows-msi: '$version' is no version an MSI can have (major.minor[.build])" >&2
  exit 1
fi
out=${2:-$build/azuqvc-$version.msi}
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

bin=$build/bin
vireo=${vireo:-$bin}
files=("$bin/azuqvc.exe" "$bin/zornectl.exe" "$vireo/vireo10.dll" "$vireo/vireo_azum.dll"
       "$src/resources/icons/azuqvc.ico")
for f in "${files[@]}"; do
  [ -f "$f" ] || { echo "windows-msi: $f is missing (build the windows preset first)" >&2; exit 1; }
done

# wixl takes every Source relative to the folder it runs in.
stage=$build/msi-stage
rm -rf "$stage"
mkdir -p "$stage"
cp "${files[@]}" "$stage/"
(cd "$stage" && wixl -a x64 -D Version="$version" -o "$out" "$src/windows/azuqvc.wxs")
echo "$out"
