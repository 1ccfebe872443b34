#!/usr/bin/env bash
# Installs what is missing, builds the project twice (normal, and with
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test under a
# virtual X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DRACKBOOK_SANITIZE=ON

run_ctest() {
    local dir=$1
    shift
    echo "== tests in $dir"
    xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" ctest --test-dir "$dir" --output-on-failure "$@"
}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
run_ctest build
run_ctest build-asan -LE not-sanitized

# The Debian packages: built, installed on this machine, tried and removed
# again (cleans up after itself).  dpkg needs root, as on the CI machine.
if [[ $(id -u) -eq 0 ]]; then
    bash scripts/package-test.sh build
else
    echo "== package test left out: it installs packages with dpkg and needs root"
fi
