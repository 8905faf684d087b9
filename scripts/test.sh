#!/usr/bin/env bash
# Installs what is missing, builds Orvendale and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each step says how long it took, so that a slow run shows where.
timed() {
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "== ${name}: $((SECONDS - start)) s"
}
timed "set-up" bash scripts/install-deps.sh
timed "format check" bash scripts/check-format.sh
timed "build" bash scripts/build.sh
timed "tests" bash -c 'cd build && ctest --output-on-failure --timeout 900'
# The unit tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: memory and undefined-behaviour faults the
# plain run passes over. Their warnings are not errors: the sanitizers make
# the compiler warn of code it cannot prove safe. Leaks are not looked for:
# the libraries the program uses keep what they allocate once for good.
export ASAN_OPTIONS=detect_leaks=0
ORVENDALE_BUILD_TARGET=orvendale_unit_tests timed "sanitized build" bash scripts/build.sh build-sanitized \
  -DORVENDALE_SANITIZE=ON -DORVENDALE_WARNINGS_AS_ERRORS=OFF
timed "sanitized unit tests" bash -c "cd build-sanitized && ctest --output-on-failure --timeout 900 -L unit -R '^test_'"
