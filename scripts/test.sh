#!/usr/bin/env bash
# Sets up what is missing, builds into build/ and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j 2 "$@"
