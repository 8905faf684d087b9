#!/usr/bin/env bash
# Fails, naming the places, when a C++ file in the tree is not formatted as
# .clang-format says. Format a file with: clang-format -i <file>
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
