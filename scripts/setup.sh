#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the GUI need.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsoci-dev libboost-dev libsqlite3-dev libpq-dev sqlite3
  libcpp-httplib-dev nlohmann-json3-dev libssl-dev
  openssl  # the HTTPS tests make their certificates with it
  libsodium-dev libfmt-dev libspdlog-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql
  clang libclang-rt-dev llvm  # llvm: the symbolizer that names the lines of a sanitizer report
  locales
)
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The core, platform and server tests run once more under pt_BR.UTF-8, the locale a
# Brazilian desktop hands the GUI (decimal ","), so the locale must exist.
have=$(locale -a 2>/dev/null || true)
if ! grep -qix 'pt_BR\.utf-\?8' <<<"$have"; then
  $SUDO sed -i 's/^# *pt_BR.UTF-8/pt_BR.UTF-8/' /etc/locale.gen
  grep -q '^pt_BR.UTF-8' /etc/locale.gen || echo 'pt_BR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
