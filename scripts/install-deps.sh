#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the demo and the benchmarks need.
# Quick when all is there (no apt call); as non-root it only names what is missing.
set -euo pipefail

packages=(
  g++
  cmake
  ninja-build
  pkgconf
  qt6-base-dev
  qt6-translations-l10n
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  fonts-dejavu-core
  xvfb
  xdotool
  xauth
  libcpp-httplib-dev
  libssl-dev
  openssl
  libmicrohttpd-dev
  libcurl4-openssl-dev
  clang
  libclang-rt-14-dev
  iproute2
  strace
  libcli11-dev
  nlohmann-json3-dev
  libdtl-dev
  bc
  time
  debhelper
  dpkg-dev
  lintian
  desktop-file-utils
  appstream
  systemd
  g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64
  googletest
  wine
  wine64
  msitools
  wixl
  ansible-core
  ansible-lint
  yamllint
  pylint
  pycodestyle
  python3-voluptuous
  python3-pytest
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
