#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the Linux build (unit, gui and
# end-to-end tests), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
# a bounded run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

echo "== Linux build and tests"
cmake --preset linux
cmake --build --preset linux -j2
ctest --preset linux -j2

echo "== Under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset linux-asan
cmake --build --preset linux-asan -j2
ctest --preset linux-asan -j2

echo "== Fuzzing"
./scripts/fuzz.sh "${QUOLT_FUZZ_SECONDS:-20}"
