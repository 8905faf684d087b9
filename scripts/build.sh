#!/usr/bin/env bash
# Configures and builds Orvendale into build/; the program and everything that
# ships beside it land in build/program/.
set -euo pipefail
cd "$(dirname "$0")/.."
# The CI build treats compiler warnings as errors.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVENDALE_WARNINGS_AS_ERRORS="$werror" >/dev/null
cmake --build build -j"$(nproc)"
