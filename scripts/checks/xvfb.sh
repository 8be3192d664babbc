#!/usr/bin/env bash
# Runs the sandbox host's real window on a virtual X server (Xvfb), as a
# player would use it: a stored shot in a pack, the plug-in switched on, a
# local match, the plug-in's window opened from the host's menu command, the
# reset key pressed through the window, half a second of game time, then a
# screenshot. Passes when the program exits with 0 and the PNG is written.
# Prints one line saying so; on failure also the program's output.
#
#   scripts/checks/xvfb.sh [BUILD_DIR]       (default: build/test, as CI builds it)
#   QM_SCREENSHOT=/tmp/window.png scripts/checks/xvfb.sh   keeps the screenshot
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build/test}"
sandbox="$build/sandbox/qm-sandbox"
if [ ! -x "$sandbox" ]; then
  echo "xvfb: no sandbox program at $sandbox (build first)"
  exit 1
fi
for tool in xvfb-run Xvfb xauth; do
  command -v "$tool" >/dev/null || { echo "xvfb: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
screenshot="${QM_SCREENSHOT:-$work/window.png}"
rm -f "$screenshot"

# One pack with one shot: the ball high on the orange half, flying toward the
# blue goal; the car in its usual place facing up the field.
pack="$work/host/data/QMShots/TrainingPacks/Sandbox Check"
mkdir -p "$pack"
printf '%s' '600 -1500 2500 600 -3000 700 0 -4608 17 16384 Sandbox_Check 3000 0 0' > "$pack/Sandbox Check.shot"

cat > "$work/check.script" <<SCRIPT
quellmark_enabled 1
car_enabled 1
match local
togglemenu QMTraining
# The first frames of the plug-in's window read the packs and the bind file.
advance 0.1
shotNumber1 0
LoadShot
bind BackSpace "controlInput"
# The pointer over the arena, not over the plug-in's window, which would
# take the key for itself.
mouse 1200 450
key BackSpace
advance 0.5
screenshot $screenshot
show all
quit
SCRIPT

status=0
SDL_RENDER_DRIVER=software timeout 120 \
  xvfb-run -a -s "-screen 0 1600x1000x24 -nolisten tcp" \
  "$sandbox" --window --host-dir "$work/host" --script "$work/check.script" >"$work/log" 2>&1 || status=$?

fail() {
  echo "xvfb: $1"
  sed 's/^/  | /' "$work/log"
  exit 1
}
[ "$status" -eq 0 ] || fail "the sandbox window exited with $status"
[ -s "$screenshot" ] || fail "no screenshot at $screenshot"
[ "$(head -c 8 "$screenshot" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$screenshot is no PNG"
grep -q "^Screenshot written to " "$work/log" || fail "the sandbox did not report the screenshot"
echo "xvfb: the window ran under Xvfb and wrote $(stat -c %s "$screenshot") bytes of PNG"
