#!/usr/bin/env bash
# Installs the Debian packages Velmora builds and runs with, then configures
# and builds the tree.  Safe to run again: packages already present are not
# touched and the build is incremental.
#
#   scripts/setup.sh [build-type]      (default: Release)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_type=${1:-Release}
build_dir=${VELMORA_BUILD_DIR:-$here/build}

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  unixodbc unixodbc-dev odbcinst libsqlite3-dev sqlite3
  python3-pyodbc libdbd-odbc-perl libencode-hanextra-perl
  libjpeg-dev libpng-dev zlib1g-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "velmora: installing ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "velmora: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build "$build_dir"
