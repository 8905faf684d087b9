#!/usr/bin/env bash
# Installs what is missing, builds Orvendale and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure --timeout 900)
# The unit tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: memory and undefined-behaviour faults the
# plain run passes over. Their warnings are not errors: the sanitizers make
# the compiler warn of code it cannot prove safe. Leaks are not looked for:
# the libraries the program uses keep what they allocate once for good.
export ASAN_OPTIONS=detect_leaks=0
ORVENDALE_BUILD_TARGET=orvendale_unit_tests bash scripts/build.sh build-sanitized -DORVENDALE_SANITIZE=ON \
  -DORVENDALE_WARNINGS_AS_ERRORS=OFF
(cd build-sanitized && ctest --output-on-failure --timeout 900 -L unit -R '^test_')
