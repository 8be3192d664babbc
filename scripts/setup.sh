#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# builds a tree: scripts/setup.sh [BUILD_DIR [CMAKE_ARGS...]].
# Sourced by run.sh and test.sh; safe to run again at any time.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(cmake ninja-build g++ clang pkg-config libimgui-dev libstb-dev libfmt-dev libsdl2-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev xvfb xauth)

install_packages() {
  local missing=() package
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure DIR [CMAKE_ARGS...]: writes the build tree (the first time) or
# updates its settings.
configure() {
  local dir="$1"
  shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
}

# build DIR [CMAKE_ARGS...]: configure, then build every target.
build() {
  configure "$@"
  cmake --build "$1" -- -j"$(nproc)"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  install_packages
  build "${1:-$root/build/dev}" -DCMAKE_BUILD_TYPE=Debug "${@:2}"
fi
