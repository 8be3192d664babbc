#!/usr/bin/env bash
# Sets everything up, builds, and runs the sandbox host with the plug-in.
# Arguments go to the sandbox (see: scripts/run.sh --help). With none, a
# short demo runs, then an interactive prompt.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build "$root/build/dev" -DCMAKE_BUILD_TYPE=Debug
exec "$root/build/dev/sandbox/qm-sandbox" "$@"
