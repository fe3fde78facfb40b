#!/usr/bin/env bash
# Checks the Windows installer of a Windows build (build-windows unless named; the `windows`
# preset builds it first): makes it with scripts/windows-msi.sh, reads its tables back with
# msiinfo and its files with msiextract. Where wine is, it then installs it, installs a newer one
# over it (the older must go), tries the older again (refused), and removes it: in a throwaway
# wine prefix, inside a network namespace of its own with only loopback up. Skipped, with the
# reason, without msitools and wixl.
#
#   scripts/windows-msi-check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

for tool in wixl msiinfo msiextract; do
  if ! command -v "$tool" >/dev/null; then
    echo "windows msi: skipped, $tool is not installed (Debian packages msitools and wixl)"
    exit 0
  fi
done

fail() {
  echo "windows msi: $*" >&2
  exit 1
}
[ -d "${1:-build-windows}" ] || fail "no build folder ${1:-build-windows} (cmake --preset windows)"
build=$(cd "${1:-build-windows}" && pwd)
bin=$build/bin
icon=$PWD/resources/icons/azuqvc.ico

version=$(sed -n 's/^project([A-Za-z0-9_]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
upgrade_code=$(sed -n 's/.*UpgradeCode="\({[0-9A-F-]*}\)".*/\1/p' windows/azuqvc.wxs)
[ -n "$upgrade_code" ] || fail "no UpgradeCode in windows/azuqvc.wxs"
# The newer package for the upgrade: one more in the build field.
case $version in
  *.*.*) newer=${version%.*}.$((${version##*.} + 1)) ;;
  *) newer=$version.1 ;;
esac

work=$build/msi-check
rm -rf "$work"
mkdir -p "$work"
msi=$build/azuqvc-$version.msi
newer_msi=$work/azuqvc-$newer.msi
scripts/windows-msi.sh "$build" "$msi" >/dev/null || fail "the installer could not be made (above)"
scripts/windows-msi.sh --version "$newer" "$build" "$newer_msi" >/dev/null ||
  fail "the newer installer ($newer) could not be made (above)"

# A table's rows, tab-separated, without the three header lines; names in a Filename column may
# be "short|long", and the long one is what counts. msiinfo writes the streams of a table (the
# icon) to a folder of that name in the working folder: the work folder.
rows() { (cd "$work" && msiinfo export "$msi" "$1") | tr -d '\r' | tail -n +4; }
long() { sed 's/^[^|]*|//'; }
prop() { rows Property | awk -F'\t' -v k="$1" '$1 == k { print $2 }'; }
expect() { # what, got, wanted
  [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}

files=(azuqvc.exe zornectl.exe vireo10.dll vireo_azum.dll azuqvc.ico)
built() { if [ "$1" = azuqvc.ico ]; then echo "$icon"; else echo "$bin/$1"; fi; }
sorted() { printf '%s\n' "$@" | sort | paste -sd ' '; }

expect "ProductName" "$(prop ProductName)" "Azu Quorvane Config"
expect "Manufacturer" "$(prop Manufacturer)" "Azu"
expect "ProductVersion" "$(prop ProductVersion)" "$version"
expect "ALLUSERS" "$(prop ALLUSERS)" 1
expect "UpgradeCode" "$(prop UpgradeCode)" "$upgrade_code"
template=$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')
expect "platform and language (Template)" "$template" "x64;1033"

expect "File table" "$(sorted $(rows File | cut -f3 | long))" "$(sorted "${files[@]}")"
# Every file in one folder, Program Files\Azu Quorvane Config, with 64-bit components.
installdir=$(rows Directory | awk -F'\t' '$1 == "INSTALLDIR" { print $2 "\\" $3 }' | long)
expect "INSTALLDIR" "$installdir" "ProgramFiles64Folder\\Azu Quorvane Config"
where=$(rows File | cut -f2 | sort -u | while read -r c; do
  rows Component | awk -F'\t' -v c="$c" '$1 == c { print $3 "," int($4 / 256) % 2 }'
done | sort -u)
expect "folder and 64-bit attribute of the files' components" "$where" "INSTALLDIR,1"

shortcuts=$(rows Shortcut)
[ "$(printf '%s\n' "$shortcuts" | grep -c .)" = 1 ] || fail "Shortcut table: '$shortcuts', expected one"
sc_dir=$(cut -f2 <<<"$shortcuts")
sc_name=$(cut -f3 <<<"$shortcuts")
sc_component=$(cut -f4 <<<"$shortcuts")
sc_target=$(cut -f5 <<<"$shortcuts")
sc_icon=$(cut -f9 <<<"$shortcuts")
expect "shortcut name" "$(long <<<"$sc_name")" "Azu Quorvane Config"
expect "shortcut target" "$sc_target" "[INSTALLDIR]azuqvc.exe"
sc_parent=$(rows Directory | awk -F'\t' -v d="$sc_dir" '$1 == d { print $2 }')
[ "$sc_dir" = ProgramMenuFolder ] || [ "$sc_parent" = ProgramMenuFolder ] ||
  fail "the shortcut's folder $sc_dir is not in the Start menu (ProgramMenuFolder)"
rows Icon | cut -f1 | grep -xF "$sc_icon" >/dev/null || fail "the shortcut's icon '$sc_icon' is not in the Icon table"
# Its component's key path is a registry value (attribute 4), and the Start-menu folder goes on
# removal.
sc_keypath=$(rows Component | awk -F'\t' -v c="$sc_component" '$1 == c { print int($4 / 4) % 2 }')
expect "registry key path of the shortcut's component" "$sc_keypath" 1
if [ "$sc_dir" != ProgramMenuFolder ]; then
  rows RemoveFile | awk -F'\t' -v d="$sc_dir" '$4 == d && $5 >= 2 { found = 1 } END { exit !found }' ||
    fail "no RemoveFile row takes the Start-menu folder $sc_dir away on removal"
fi

# The major upgrade: older versions of the UpgradeCode are found and removed, a newer one is
# found and stops the install.
upgrades=$(rows Upgrade)
printf '%s\n' "$upgrades" | awk -F'\t' -v u="$upgrade_code" -v v="$version" \
  '$1 == u && $2 == "" && $3 == v && int($5 / 2) % 2 == 0 { found = 1 } END { exit !found }' ||
  fail "Upgrade table: no row that finds older versions than $version: '$upgrades'"
printf '%s\n' "$upgrades" | awk -F'\t' -v u="$upgrade_code" -v v="$version" \
  '$1 == u && $2 == v && int($5 / 2) % 2 == 1 { found = 1 } END { exit !found }' ||
  fail "Upgrade table: no row that detects newer versions than $version: '$upgrades'"
rows InstallExecuteSequence | cut -f1 | grep -x RemoveExistingProducts >/dev/null ||
  fail "RemoveExistingProducts is not in the InstallExecuteSequence"
rows LaunchCondition | grep DOWNGRADE >/dev/null || fail "no launch condition refuses a downgrade"

# The files themselves, as msiextract takes them out of the cabinet.
extracted=$work/extract
listed=$(msiextract -C "$extracted" "$msi") || fail "msiextract failed on $msi"
expect "msiextract's list" "$(sort <<<"$listed" | paste -sd ,)" \
  "$(printf 'Azu Quorvane Config/%s\n' "${files[@]}" | sort | paste -sd ,)"
for f in "${files[@]}"; do
  cmp -s "$extracted/Azu Quorvane Config/$f" "$(built "$f")" ||
    fail "$f from the MSI differs from $(built "$f")"
done
rm -rf "$extracted"

if ! command -v wine >/dev/null; then
  echo "windows msi: $(basename "$msi") as expected (tables, files); install skipped, wine is not installed"
  exit 0
fi
isolate=(unshare -n)
if ! unshare -n true 2>/dev/null; then
  if unshare -rn true 2>/dev/null; then
    isolate=(unshare -rn)
  else
    echo "windows msi: $(basename "$msi") as expected (tables, files); install skipped, no network namespace can be made here"
    exit 0
  fi
fi

prefix=$build/msi-wine
rm -rf "$prefix"
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Gecko or Mono prompts; and no menu entries of the host made from the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if ! "${isolate[@]}" bash -s "$msi" "$newer_msi" "$bin" "$icon" "$work" "$version" "$newer" \
  "${files[@]}" <<'INSIDE'; then
set -euo pipefail
msi=$1 newer_msi=$2 bin=$3 icon=$4 work=$5 version=$6 newer=$7
shift 7
files=("$@")
ip link set lo up 2>/dev/null || true
# msiexec /qn opens no window: nothing to show on a display.
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
fail() {
  echo "windows msi under wine: $*" >&2
  exit 1
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
# msiexec's status; its log in the work folder.
msiexec() { # action, msi, log name
  local status=0
  wine msiexec "$1" "$(winpath "$2")" /qn /l*v "$(winpath "$work/$3.log")" >/dev/null 2>&1 || status=$?
  # msiexec hands work to processes that may go on after it returns: the prefix settles first.
  wineserver -w
  echo "$status"
}

# A first start of a new prefix has been seen to fail once in a while; a second one is given.
if ! wineboot --init >"$work/wineboot.log" 2>&1; then
  wineserver -k 2>/dev/null || true
  wineboot --init >>"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n 5 "$work/wineboot.log")"
fi
installed="$WINEPREFIX/drive_c/Program Files/Azu Quorvane Config"
menu= link=
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
code=$(product_code "$msi")
newer_code=$(product_code "$newer_msi")

# The products registered under the Uninstall key by that name, as "code version" lines.
registered() {
  wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY/ { key = $0; sub(/.*\\/, "", key); name = ""; version = "" }
    $1 == "DisplayName" { name = substr($0, index($0, $3)) }
    $1 == "DisplayVersion" { version = $3 }
    name == "Azu Quorvane Config" && version != "" { print key " " version; name = "" }'
}
# One read of the registered products, taken once the prefix has settled, compared and shown.
expect_registered() { # expected, when
  wineserver -w
  local seen
  seen=$(registered)
  [ "$seen" = "$1" ] || fail "$2: registered '$seen', expected '$1'"
}
files_in_place() { # when
  for f in "${files[@]}"; do
    built=$bin/$f
    [ "$f" = azuqvc.ico ] && built=$icon
    [ -f "$installed/$f" ] || fail "$1: $installed/$f is missing"
    cmp -s "$installed/$f" "$built" || fail "$1: $installed/$f differs from $built"
  done
  [ -f "$link" ] || fail "$1: no shortcut $link"
  grep -aq 'azuqvc\.exe' "$link" || fail "$1: the shortcut $link does not name azuqvc.exe"
}

status=$(msiexec /i "$msi" install)
[ "$status" = 0 ] || fail "msiexec /i $(basename "$msi"): status $status (log $work/install.log)"
# Windows puts the shortcut of a per-machine package in the all-users Start menu; wine's msi
# resolves ProgramMenuFolder to the user's whatever ALLUSERS says. So the folder is taken from
# what the installer logged.
programs=$(sed -n 's/^Property(S): ProgramMenuFolder = \(C:\\.*\)\\$/\1/p' "$work/install.log" | head -n 1)
[ -n "$programs" ] || fail "no ProgramMenuFolder in the log $work/install.log"
programs=${programs#C:\\}
menu="$WINEPREFIX/drive_c/${programs//\\//}/Azu Quorvane Config"
link="$menu/Azu Quorvane Config.lnk"
files_in_place "installed $version"
expect_registered "$code $version" "installed $version"

status=$(msiexec /i "$newer_msi" upgrade)
[ "$status" = 0 ] || fail "msiexec /i $(basename "$newer_msi"): status $status (log $work/upgrade.log)"
files_in_place "$newer over $version"
expect_registered "$newer_code $newer" "$newer over $version"

status=$(msiexec /i "$msi" downgrade)
[ "$status" != 0 ] || fail "msiexec /i $(basename "$msi") over $newer: status 0, expected a refusal"
files_in_place "$version refused over $newer"
expect_registered "$newer_code $newer" "$version refused over $newer"

status=$(msiexec /x "$newer_msi" remove)
[ "$status" = 0 ] || fail "msiexec /x $(basename "$newer_msi"): status $status (log $work/remove.log)"
[ ! -e "$installed" ] || fail "removed: $installed is still there: $(ls -A "$installed" | paste -sd ' ')"
[ ! -e "$link" ] || fail "removed: the shortcut $link is still there"
[ ! -e "$menu" ] || fail "removed: the Start-menu folder $menu is still there"
expect_registered "" "removed"
wineserver -w
if wine reg query 'HKLM\Software\Azu\Azu Quorvane Config' >/dev/null 2>&1; then
  fail "removed: the shortcut's registry key HKLM\\Software\\Azu\\Azu Quorvane Config is still there"
fi
INSIDE
  echo "windows msi: the wine prefix and the logs are kept in $prefix and $work" >&2
  exit 1
fi
rm -rf "$prefix" "$work"
echo "windows msi: $(basename "$msi") as expected (tables, files), installed, upgraded to $newer," \
  "downgrade refused, removed under wine in $(($(date +%s) - started)) s"
