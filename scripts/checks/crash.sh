#!/usr/bin/env bash
# Prints the crash campaign's figure (tests/faults/CrashCampaign.cpp: every
# storage action ended abruptly at each file-system call it makes, then the
# plug-in started again on what it left). The campaign is a test of the
# normal build, so scripts/test.sh has just run it; its figure is taken from
# that run (test.sh removes an earlier run's log first), or the campaign is
# run here when there is none. Fails when a loss column is not 0.
# Usage: scripts/checks/crash.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build/test}"
figure="$(grep -h '^crash campaign:' "$build/Testing/Temporary/LastTest.log" 2>/dev/null | tail -n 1 || true)"
if [ -z "$figure" ]; then
  figure="$("$build/tests/faults/crash_campaign" --gtest_filter='CrashCampaign.*' | grep '^crash campaign:')"
fi
echo "$figure"
case "$figure" in
  *"shots lost 0, half packs visible 0, leftovers after restart 0, crashes on restart 0"*) ;;
  *) exit 1 ;;
esac
