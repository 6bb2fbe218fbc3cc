#!/usr/bin/env bash
# Measures the programs side by side with their bare yardsticks in one run and prints the
# ratios. Usage: bench/run.sh [runs per measure, default 30]. Builds what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
cmake --preset linux >/dev/null
cmake --build --preset linux --target bench_channel_calls bench_start_program bench_start_bare \
  quolt_autenticador >/dev/null
bin=build/linux/bench
program=build/linux/bin/quolt_autenticador

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work"
text='CARTORIO CENTRAL PROTOC:102938 14/03/2024 09:41'

# Median wall time of a command, in microseconds.
median_us() {
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

rss_kb() { "$@" 2>&1 >/dev/null | awk '/^rss_kb/ {print $2; exit}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo "== start to interactive window (offscreen, median of $runs)"
(cd "$work" && cp "$OLDPWD/$bin/bench_start_program" "$OLDPWD/$bin/bench_start_bare" .)
p=$(cd "$work" && median_us ./bench_start_program OK "$text")
b=$(cd "$work" && median_us ./bench_start_bare)
printf '  quolt_autenticador  %8d us\n  bare Qt window      %8d us\n  ratio               %8s\n' "$p" "$b" "$(ratio "$p" "$b")"

echo "== start without \"OK\" (median of $runs)"
p=$(median_us "$program" NO)
b=$(median_us "$bin/bench_start_bare" exit)
printf '  quolt_autenticador NO  %8d us\n  bare program, same link %7d us\n  ratio                  %8s\n' "$p" "$b" "$(ratio "$p" "$b")"

echo "== idle memory once interactive"
p=$(cd "$work" && rss_kb ./bench_start_program OK "$text")
b=$(cd "$work" && rss_kb ./bench_start_bare)
printf '  quolt_autenticador  %8d kB\n  bare Qt window      %8d kB\n  ratio               %8s\n' "$p" "$b" "$(ratio "$p" "$b")"

echo "== output channel: calls against the least the 128-byte buffer allows"
"$bin/bench_channel_calls" | sed 's/^/  /'

echo "== 32-bit Windows programs"
for exe in build/windows-x86/bin/quolt_autenticador.exe build/windows-x86/bin/quolt_autenticador_dll.exe \
           build/windows-x86/bin/Mp2032.dll; do
  if [ -f "$exe" ]; then
    stripped=$(mktemp)
    i686-w64-mingw32-strip -o "$stripped" "$exe"
    printf '  %-28s %8d bytes (%d stripped)\n' "$(basename "$exe")" "$(stat -c %s "$exe")" "$(stat -c %s "$stripped")"
    rm -f "$stripped"
  else
    printf '  %-28s not built (cmake --preset windows-x86 && cmake --build --preset windows-x86)\n' "$(basename "$exe")"
  fi
done
