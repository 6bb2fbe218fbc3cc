#!/usr/bin/env bash
# The main job: installs what is missing, builds, and opens quolt_autenticador's window with a
# demo protocol text, the way the host application starts it. The program runs from demo/run/,
# where its settings (Ravivavizuru.ini) live and where the port "USB" is written as a file:
# press F5 and read demo/run/USB, press F4 to leave.
# On a machine without a display the window opens on a virtual one (Xvfb); the script then
# saves a screenshot, says where it is, and ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

./scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target quolt_autenticador

run="$root/demo/run"
mkdir -p "$run"
cp build/linux/bin/quolt_autenticador "$run/"
# First run: the port "USB", so that F5 writes the document bytes to demo/run/USB.
if [ ! -e "$run/Ravivavizuru.ini" ]; then
  printf '[QUOLT]\r\nMODELO=0\r\nPORTA=7\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n' >"$run/Ravivavizuru.ini"
fi
text='CARTÓRIO CENTRAL PROTOC: 102938 14/03/2024 09:41'
cd "$run"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting: quolt_autenticador OK \"$text\" (in $run)"
  exec ./quolt_autenticador OK "$text"
fi

# No display: a virtual one; Xvfb picks a free display number and reports it.
xvfb_pid=""
app_pid=""
display_file=$(mktemp)
own_runtime=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
  [ -n "$own_runtime" ] && rm -rf "$own_runtime"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
[ -s "$display_file" ] || { echo "Could not start a virtual display (Xvfb)." >&2; exit 1; }
export DISPLAY=":$(tr -dc 0-9 <"$display_file")"

# Qt wants a private runtime folder, which a bare machine may not have.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  own_runtime=$(mktemp -d)
  export XDG_RUNTIME_DIR=$own_runtime
fi
echo "No display here: running on the virtual display $DISPLAY."
echo "Starting: quolt_autenticador OK \"$text\" (in $run)"
./quolt_autenticador OK "$text" &
app_pid=$!
wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -1) || true
[ -n "$wid" ] || { echo "The window did not appear." >&2; exit 1; }
sleep 0.5  # let it paint
shot="$run/screenshot.png"
import -window "$wid" "$shot"
echo "The window: $(xdotool getwindowname "$wid")"
echo "Screenshot saved: $shot"

# As the operator would: F5 prints the text on the port "USB" (a file here), F4 leaves.
rm -f "$run/USB"
xdotool windowfocus --sync "$wid" key F5
for _ in $(seq 50); do
  [ -s "$run/USB" ] && break
  sleep 0.1
done
if [ -s "$run/USB" ]; then
  echo "F5 printed the document bytes to $run/USB:"
  od -An -c "$run/USB"
fi
xdotool key F4
wait "$app_pid" && echo "The program ended with exit code 0."
app_pid=""
