#!/usr/bin/env bash
# Installs what is missing, builds Orvendale and starts it on this desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ]; then
  echo "Orvendale is built (build/program/orvendale) but no X display is set: start it from a desktop session." >&2
  exit 1
fi
export QT_QPA_PLATFORM=xcb
exec build/program/orvendale
