#!/usr/bin/env bash
# Sets everything up, builds what the sandbox needs (the plug-in library, the
# host SDK stand-in and the sandbox program, in build/run: no tests,
# benchmarks or fuzzers) and runs the sandbox host with the plug-in.
# Arguments go to the sandbox (see: scripts/run.sh --help). With none, a
# short demo runs, then an interactive prompt.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages "${run_packages[@]}"
configure "$root/build/run" -DCMAKE_BUILD_TYPE=Debug -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF
cmake --build "$root/build/run" --target qm-sandbox -- -j"$(nproc)"
exec "$root/build/run/sandbox/qm-sandbox" "$@"
