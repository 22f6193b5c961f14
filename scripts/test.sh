#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite on SQLite, the server and platform
# suites again on a local PostgreSQL (direct queries and the look-up role included),
# then all of it once more under AddressSanitizer and UndefinedBehaviorSanitizer, with
# short runs of the fuzzers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$dir" && ctest --output-on-failure -j2 --timeout 600)
if [ -x "$root/scripts/start-postgres.sh" ] || [ -f "$root/scripts/start-postgres.sh" ]; then
  MXA_TEST_PG=$(bash "$root/scripts/start-postgres.sh")
  export MXA_TEST_PG
  echo "== server suite on PostgreSQL"
  "$dir/tests/test_appserver" --gtest_brief=1
  echo "== platform suite on PostgreSQL"
  "$dir/tests/test_platform" --gtest_brief=1
fi
# Once more under the sanitizers, fuzzers included.
bash "$root/scripts/test-sanitizers.sh"
