#!/usr/bin/env bash
# Checks the include structure of the project's own code: every file
# includes only folders at or below its own (the table below), and no header
# reaches itself through its includes. Prints one figure line; on a breach,
# one line per include that breaks a rule, and exits with 1.
# Usage: scripts/checks/layers.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

QM_FILES="$(git ls-files -- '*.cpp' '*.h')" python3 - <<'PY'
import os, re, sys

# What each folder may include besides itself. The plug-in class's headers
# (the class, its console names, its log and its guard) are where the
# subsystems meet: their sources implement the class's methods and include
# them; their headers stand alone.
below = {
    "platform": set(),
    "flight": set(),
    "pluginsdk": {"flight", "platform"},
    "storage": {"platform"},
    "playback": {"storage", "flight", "platform", "pluginsdk"},
    "binds": {"storage", "platform", "pluginsdk"},
    "QMTraining": {"storage", "playback", "binds", "flight", "platform", "pluginsdk"},
    "ui": {"QMTraining", "storage", "playback", "binds", "flight", "platform", "pluginsdk"},
    "uidriver": set(),
    "sandbox": {"uidriver", "QMTraining", "storage", "playback", "binds", "flight", "platform", "pluginsdk"},
}
class_headers = {"QMTraining/QMTraining.h", "QMTraining/ConsoleVariables.h", "QMTraining/Log.h",
                 "QMTraining/Guard.h"}
# Sources of the class (QMTraining/*.cpp) are the top of the plug-in: they
# create what the window keeps.
top_sources = {"QMTraining": {"ui"}}

files = [line.strip() for line in os.environ["QM_FILES"].splitlines() if line.strip()]
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
edges = {}
breaches = []
for path in files:
    folder = path.split("/")[0]
    targets = []
    with open(path, encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = include.match(line)
            if not match:
                continue
            target = match.group(1)
            if target.startswith("pluginsdk/") and not target.startswith("pluginsdk/include"):
                target = "pluginsdk/include/" + target
            if not os.path.exists(target):
                continue  # a system or third-party header
            targets.append(target)
            if folder not in below:
                continue  # tests, benchmarks, fuzzers: anything goes
            other = target.split("/")[0]
            allowed = other == folder or other in below[folder]
            if path.endswith(".cpp") and target in class_headers and folder in ("storage", "playback", "binds", "ui"):
                allowed = True
            if path.endswith(".cpp") and other in top_sources.get(folder, set()):
                allowed = True
            if not allowed:
                breaches.append(f"{path}:{number}: {folder}/ includes {target}")
    edges[path] = targets

# A cycle among headers: depth-first search with colours.
state = {}
cycles = []
def visit(node, trail):
    state[node] = 1
    for target in edges.get(node, []):
        if not target.endswith(".h"):
            continue
        if state.get(target) == 1:
            cycles.append(" -> ".join(trail[trail.index(target):] + [target]) if target in trail else target)
        elif target not in state:
            visit(target, trail + [target])
    state[node] = 2
for node in files:
    if node.endswith(".h") and node not in state:
        visit(node, [node])

for line in breaches:
    print(line)
for cycle in cycles:
    print("include cycle: " + cycle)
print(f"layers: {len(files)} files, {sum(len(t) for t in edges.values())} includes; "
      f"{len(breaches)} from a lower folder to a higher one, {len(cycles)} include cycles")
sys.exit(1 if breaches or cycles else 0)
PY
