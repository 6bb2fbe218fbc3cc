#!/usr/bin/env bash
# The Linux quolt_autenticador as an operator runs it: a real X server (Xvfb), keys typed with
# xdotool, and the bytes and settings it leaves on disk read back exactly.
#   linux_program.sh CASE EXECUTABLE
# Each case copies the executable into a folder of its own, so the settings files beside it
# and the port file "USB" in its working folder belong to the case alone.
set -euo pipefail

case_name=$1
exe=$(readlink -f "$2")
# The real X11 window, whatever the caller's environment prefers.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  exit 1
}

start_display() {
  # Xvfb picks a free display number itself and reports it: no race with parallel tests.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$work/display" ]; then
      export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
      xdpyinfo >/dev/null 2>&1 && return
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  fail "no X display could be started: $(cat "$work/xvfb.log")"
}

# Starts the program from the case's folder with the given arguments.
start_program() {
  cp "$exe" "$work/quolt_autenticador"
  (cd "$work" && exec ./quolt_autenticador "$@") >"$work/program.log" 2>&1 &
  app_pid=$!
}

# Waits for the program's visible window and prints its id.
program_window() {
  local wid
  wid=$(timeout 10 xdotool search --sync --onlyvisible --pid "$app_pid" 2>/dev/null | head -1) ||
    true
  [ -n "$wid" ] || fail "no window appeared"
  echo "$wid"
}

# Waits for the program to end and checks its exit code.
expect_exit_zero() {
  local code=0
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  wait "$app_pid" || code=$?
  app_pid=""
  [ "$code" -eq 0 ] || fail "exit code $code"
}

wait_for_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return
    sleep 0.1
  done
  fail "$1 was not written"
}

case "$case_name" in
  authenticate)
    start_display
    text='CARTÓRIO CENTRAL PROTOC: 4711 02/03/2024 14:05'
    start_program OK "$text"
    wid=$(program_window)
    [ "$(xdotool getwindowname "$wid")" = "Autenticar Protocolo [versão 3.21.14.31] " ] ||
      fail "caption: '$(xdotool getwindowname "$wid")'"
    xdotool windowfocus --sync "$wid"
    sleep 0.3
    [ -e "$work/Ravivavizuru.ini" ] && fail "settings written before any list changed"

    # The settings tab; the focus lands on the port list, which steps from LPT1 to USB.
    xdotool key ctrl+Tab
    sleep 0.2
    xdotool key Down
    wait_for_file "$work/Ravivavizuru.ini"
    for key in MODELO PORTA BOBINA COMPARTILHAMENTO; do
      grep -q "^$key=" "$work/Ravivavizuru.ini" || fail "$key missing after the first change"
    done
    xdotool key --delay 60 Down Down Down Down Down Down
    sleep 0.3
    printf '[QUOLT]\r\nMODELO=0\r\nPORTA=7\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n' >"$work/expected.ini"
    cmp -s "$work/Ravivavizuru.ini" "$work/expected.ini" || fail "settings: $(cat -A "$work/Ravivavizuru.ini")"

    # Back on the authentication tab the focus is in the text field: F5 prints on "USB".
    xdotool key ctrl+Tab
    sleep 0.2
    xdotool key F5
    wait_for_file "$work/USB"
    # The document printer gets the text in the Windows code page, then CR LF; the roll
    # copy stays off with the default "NÃO".
    printf 'CART\xd3RIO CENTRAL PROTOC: 4711 02/03/2024 14:05\r\n' >"$work/expected.bin"
    cmp "$work/USB" "$work/expected.bin" || fail "document bytes: $(od -c "$work/USB")"

    xdotool key F4
    expect_exit_zero
    ;;

  gate-lower-case)
    start_display
    start_program ok 'PROTOC: 1 01/01/2024 08:00'
    wid=$(program_window)
    xdotool windowfocus --sync "$wid"
    xdotool key F4
    expect_exit_zero
    ;;

  gate-refused)
    start_display
    start_program OKAY 'PROTOC: 1 01/01/2024 08:00'
    expect_exit_zero
    [ -z "$(xdotool search --onlyvisible --name 'Autenticar' 2>/dev/null)" ] || fail "a window opened"
    # Without the gate word the program needs no display at all.
    (unset DISPLAY; cd "$work" && exec ./quolt_autenticador OKAY) >"$work/nodisplay.log" 2>&1 ||
      fail "exit code $? without a display"
    [ ! -s "$work/nodisplay.log" ] || fail "printed: $(cat "$work/nodisplay.log")"
    # With it but without a display: a plain message instead of a crash, and still 0.
    (unset DISPLAY; cd "$work" && exec ./quolt_autenticador OK 'PROTOC: 1 01/01/2024 08:00') \
      >"$work/nodisplay.log" 2>&1 || fail "exit code $? with OK and no display"
    grep -q "no display" "$work/nodisplay.log" || fail "no message: $(cat "$work/nodisplay.log")"
    ;;

  *)
    fail "unknown case"
    ;;
esac
echo "PASS ($case_name)"
