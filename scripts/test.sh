#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite on SQLite, the server and platform
# suites again on a local PostgreSQL, then all of it once more under AddressSanitizer
# and UndefinedBehaviorSanitizer, with short runs of the fuzzers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
bash "$root/scripts/run-suites.sh" "$dir"
bash "$root/scripts/test-sanitizers.sh"
