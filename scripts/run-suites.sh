#!/usr/bin/env bash
# Runs the tests of one build (the folder, the first argument): every suite on SQLite,
# then the server and platform suites again on a private PostgreSQL cluster (direct
# queries and the look-up role included).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
export QT_QPA_PLATFORM=offscreen
unset MXA_TEST_PG
(cd "$dir" && ctest --output-on-failure -j2 --timeout 900)
MXA_TEST_PG=$(bash "$root/scripts/start-postgres.sh")
export MXA_TEST_PG
echo "== server suite on PostgreSQL"
"$dir/tests/test_appserver" --gtest_brief=1
echo "== platform suite on PostgreSQL"
"$dir/tests/test_platform" --gtest_brief=1
