#!/usr/bin/env bash
# Configures and builds Orvendale into build/; the program and everything that
# ships beside it land in build/program/.
set -euo pipefail
cd "$(dirname "$0")/.."
# The CI build treats compiler warnings as errors.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
# ccache, when installed, keeps what a build compiled for the next one, also
# for another clone of the project (paths are hashed relative to it).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi
build_dir=${1:-build}
shift $(( $# > 0 ? 1 : 0 ))
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVENDALE_WARNINGS_AS_ERRORS="$werror" "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" ${ORVENDALE_BUILD_TARGET:+--target "$ORVENDALE_BUILD_TARGET"}
