#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the GUI need.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsoci-dev libboost-dev libsqlite3-dev libpq-dev sqlite3
  libcpp-httplib-dev nlohmann-json3-dev libssl-dev
  libsodium-dev libfmt-dev libspdlog-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql
  clang libclang-rt-dev
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
