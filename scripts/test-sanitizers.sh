#!/usr/bin/env bash
# The whole suite once more under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer: SQLite, then the server and platform suites on a local
# PostgreSQL, then the fuzzers. Any report fails the test that made it, and this script.
# Expects scripts/setup.sh to have run (scripts/test.sh runs it first).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${SAN_BUILD_DIR:-$root/build-san}
bash "$root/scripts/build-sanitized.sh"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echo "== the suites under the sanitizers"
bash "$root/scripts/run-suites.sh" "$dir"
FUZZ_DIR=$dir bash "$root/fuzz/run.sh"
