#!/usr/bin/env bash
# Runs every fuzz target for a bounded time (seconds, default 20 each) under AddressSanitizer
# and UndefinedBehaviorSanitizer. A finding stops the run; its input is left in
# build/linux-fuzz/findings/ to be kept in tests/fuzz/corpus/<target>/ once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake --preset linux-fuzz >/dev/null
targets=()
for source in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build --preset linux-fuzz --target "${targets[@]}"
findings=build/linux-fuzz/findings
mkdir -p "$findings"
for source in tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  target=${name#fuzz_}
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$target/." "$work/"
  echo "== $name for ${seconds}s"
  "build/linux-fuzz/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/$target-" -print_final_stats=1 "$work" 2>&1 | tail -n 4
  rm -rf "$work"
done
