#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (only those missing),
# then configures and builds into build/ (executables in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev
  libsimdjson-dev libsqlite3-dev libgsf-1-dev libfreexl-dev
  xvfb xauth fonts-dejavu-core clang-format
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build_type=${BUILD_TYPE:-Release}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j "$(nproc)"
