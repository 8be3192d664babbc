#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# builds a tree: scripts/setup.sh [BUILD_DIR [CMAKE_ARGS...]].
# Sourced by run.sh and test.sh; safe to run again at any time.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What the sandbox needs to build and run (scripts/run.sh installs only
# these; its fonts draw names in any script), and what the tests, the
# benchmarks and the checks need besides (the Windows build among them).
run_packages=(cmake ninja-build g++ pkg-config libimgui-dev libstb-dev libfmt-dev libsdl2-dev zlib1g-dev
  fonts-dejavu-core fonts-wqy-microhei)
test_packages=(clang libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev xvfb xauth
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64)

# install_packages [PACKAGE...]: installs those missing of the packages
# named (all of both lists when none are).
install_packages() {
  local packages=("$@") missing=() package
  ((${#packages[@]})) || packages=("${run_packages[@]}" "${test_packages[@]}")
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

# fetch_imgui_source: unpacks Debian's source package of Dear ImGui (the
# version libimgui-dev has) into build/third-party/ for the Windows build,
# which cannot use the Linux library. Adds a deb-src entry mirroring the
# system's deb entries when apt knows no source packages yet.
fetch_imgui_source() {
  local third="$root/build/third-party" version
  version=$(dpkg-query -W -f='${source:Version}' libimgui-dev)
  local upstream="${version%%+*}"
  [ -f "$third/imgui-$upstream/imgui.cpp" ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if [ -z "$(apt-cache showsrc imgui 2>/dev/null)" ]; then
    local list=/etc/apt/sources.list.d/qm-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$list" >/dev/null
    else
      list=/etc/apt/sources.list.d/qm-deb-src.list
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee "$list" >/dev/null
    fi
    $sudo apt-get update -qq
  fi
  local download
  download=$(mktemp -d)
  (cd "$download" && apt-get source --download-only -qq "imgui=$version" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
  mkdir -p "$third"
  tar -xJf "$download"/imgui_*.orig.tar.xz -C "$third"
  rm -rf "$download"
  [ -f "$third/imgui-$upstream/imgui.cpp" ]
}

# The sandbox compiles Dear ImGui's SDL backends, which libimgui-dev ships
# under /usr/share/doc; minimal images drop that folder (their dpkg
# configuration excludes /usr/share/doc), and then the same sources come
# from the source package (sandbox/CMakeLists.txt looks in both places).
imgui_backends_doc=/usr/share/doc/libimgui-dev/examples/backends
ensure_imgui_backends() {
  [ -f "$imgui_backends_doc/imgui_impl_sdl.cpp" ] || fetch_imgui_source
}

# configure DIR [CMAKE_ARGS...]: writes the build tree (the first time) or
# updates its settings.
configure() {
  local dir="$1"
  shift
  ensure_imgui_backends
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
