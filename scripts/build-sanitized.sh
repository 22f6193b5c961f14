#!/usr/bin/env bash
# Configures and builds everything but the benchmarks with clang under AddressSanitizer
# and UndefinedBehaviorSanitizer, fuzzers included, into build-san/ (set SAN_BUILD_DIR
# to change). Light optimisation and line tables only: the build is slow enough as it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${SAN_BUILD_DIR:-$root/build-san}
cxx=${CXX_SAN:-}
if [ -z "$cxx" ]; then
  for c in clang++ clang++-14 clang++-15 clang++-16; do
    if command -v "$c" >/dev/null; then cxx=$c; break; fi
  done
fi
[ -n "$cxx" ] || { echo "sanitizers: no clang++ found (scripts/setup.sh installs it)" >&2; exit 1; }
CXX=$cxx cmake -S "$root" -B "$dir" -G Ninja -DMXA_SANITIZE=ON -DMXA_FUZZ=ON -DMXA_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" >/dev/null
ninja -C "$dir" -j"$(nproc)"
