#!/usr/bin/env bash
# Installs what is missing, builds the Linux preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux
ctest --preset linux -j2
