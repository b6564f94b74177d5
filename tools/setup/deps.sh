#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent: asks apt only for what is missing.
set -euo pipefail
pkgs=(
  cmake ninja-build g++ make pkg-config python3 libgtest-dev googletest
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 libwine
  xvfb xauth x11-utils imagemagick
  unixodbc unixodbc-dev odbcinst libsqliteodbc sqlite3 postgresql odbc-postgresql
  dovecot-pop3d python3-aiosmtpd python3-cryptography openssl
  libpython3.11-testsuite libgmime-3.0-dev clang libclang-rt-14-dev
  fonts-liberation cups printer-driver-cups-pdf poppler-utils
  chromium
  wamerican wbritish hunspell hunspell-en-us libhunspell-dev codespell
)
missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q >/dev/null
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
