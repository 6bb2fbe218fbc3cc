#!/usr/bin/env bash
# The main job: installs what is missing and builds both programs. The window arrives with
# the Qt front end; until then this stops after the build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux
echo "Built. The Linux window comes with the Qt front end."
