#!/usr/bin/env bash
# Sets up, builds and opens the module: embedded server and demo database by default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/gui/mxa07300" "$@"
