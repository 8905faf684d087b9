#!/usr/bin/env bash
# Configures and builds Orvendale into build/; the program and everything that
# ships beside it land in build/program/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
