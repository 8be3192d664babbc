#!/usr/bin/env bash
# scripts/run.sh installs only what the sandbox needs: none of the packages
# that only the tests, the benchmarks, the checks or the Windows build use
# (scripts/test.sh installs those besides).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/setup.sh"  # defines the lists, installs nothing
status=0
for package in "${run_packages[@]}"; do
  for other in "${test_packages[@]}"; do
    [ "$package" != "$other" ] || { echo "run-packages: $package is in both lists"; status=1; }
  done
  case "$package" in
    clang* | *gtest* | *gmock* | *benchmark* | *mingw* | wine* | xvfb | xauth)
      echo "run-packages: scripts/run.sh would install $package, which the sandbox does not need"
      status=1
      ;;
  esac
done
grep -qx 'install_packages "${run_packages\[@\]}"' "$root/scripts/run.sh" ||
  { echo "run-packages: scripts/run.sh does not install exactly the sandbox's packages"; status=1; }
echo "run packages: ${#run_packages[@]} for the sandbox, ${#test_packages[@]} more for the tests"
exit "$status"
