#!/usr/bin/env bash
# The Windows programs end to end: the windows-x64 build under wine64 on a private Xvfb, driven
# with xdotool like an operator; ports and the printer share are linked to files and FIFOs of
# the test, and the bytes that reach them are compared with the golden files.
#
#   wine_e2e.sh prepare            makes the wine prefix all cases copy (once per test run)
#   wine_e2e.sh <case>             runs one case in a copy of it
#
# Environment: WORK (scratch folder), WIN_BIN (the windows-x64 build folder), TOOLS (folder
# of window_texts.exe), GOLDEN (the golden files).
set -euo pipefail

WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver64
# UTF-8 on the Unix side (the captions and arguments carry accents), whatever the machine has;
# the Windows side then runs with code page 1252.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TEMPLATE="$WORK/template"
TEXT="ENTIDADE PROTOC:0001/2026 11/12/2026 10:45"
CAPTION="Autenticar Protocolo [versão 3.21.14.31] "
TITLE="Sistema de Autenticação"

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ]; then
    echo "--- windows on screen:" >&2
    timeout 10 "$WINE" "$TOOLS/window_texts.exe" >&2 2>/dev/null || true
  fi
  exit 1
}

# A display of our own: the first free number from a start that differs between parallel cases.
start_xvfb() {
  local n=$((100 + ($$ % 400)))
  for _ in $(seq 1 50); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
      kill "$XVFB_PID" 2>/dev/null || true
    fi
    n=$((n + 1))
  done
  fail "no free X display"
}

cleanup() {
  [ -n "${WINEPREFIX:-}" ] && "$SERVER" -k 2>/dev/null || true
  for pid in ${READER_PID:-} ${XVFB_PID:-}; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  # A passed case leaves no prefix behind (700 MB each); a failed one keeps it to look into.
  [ -n "${PASSED:-}" ] && [ -n "${CASE:-}" ] && rm -rf "$CASE/prefix"
  return 0
}
trap cleanup EXIT

prepare() {
  rm -rf "$TEMPLATE"
  mkdir -p "$TEMPLATE"
  export WINEPREFIX="$TEMPLATE/prefix"
  start_xvfb
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$SERVER" -w
  # Without a window manager wine would wait each time a window is hidden; and every port
  # points into the case's own folder (the placeholder is filled in per case), never at the
  # machine's devices.
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for port in COM1 COM2 COM3 COM4 COM5 COM6 LPT1 LPT2 LPT3; do
      printf '"%s"="@CASE@/ports/%s"\r\n' "$port" "${port,,}"
    done
  } >"$TEMPLATE/settings.reg"
  "$WINE" regedit /S "$TEMPLATE/settings.reg"
  "$SERVER" -w
  grep -q '"COM1"="@CASE@/ports/com1"' "$WINEPREFIX/system.reg" || fail "the port settings did not reach the registry"
  unset WINEPREFIX
}

# A fresh copy of the prefix, a display and a running wine server for one case.
setup_case() {
  CASE="$WORK/$1"
  rm -rf "$CASE"
  mkdir -p "$CASE/ports" "$CASE/app"
  cp -a "$TEMPLATE/prefix" "$CASE/prefix"
  sed -i "s|@CASE@|$CASE|g" "$CASE/prefix/system.reg"
  export WINEPREFIX="$CASE/prefix"
  start_xvfb
  "$SERVER" -p
}

# Starts a program of the build with the host's arguments, from its own folder.
start_program() {
  local exe="$1"
  shift
  (cd "$CASE/app" && exec "$WINE" "$exe" "$@" >"$CASE/program.log" 2>&1) &
  PROGRAM_PID=$!
}

# The visible window whose name matches, within 30 s.
wait_window() {
  local wid
  for _ in $(seq 1 300); do
    wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && { echo "$wid"; return 0; }
    sleep 0.1
  done
  fail "no window named like '$1'"
}

window_texts() { timeout 20 "$WINE" "$TOOLS/window_texts.exe" 2>/dev/null | tr -d '\r'; }

# Waits for a message box with this caption and text, within 20 s.
wait_box() {
  local caption="$1" text="$2" listing
  for _ in $(seq 1 40); do
    listing=$(window_texts)
    if awk -F'\t' -v c="$caption" -v t="$text" '
        /^[^ ]/ { box = ($1 == "#32770" && $3 == c) }
        box && /^  / && $3 == t { found = 1 }
        END { exit !found }' <<<"$listing"; then
      return 0
    fi
    sleep 0.5
  done
  echo "$listing" >&2
  fail "no message box '$caption' saying '$text'"
}

# The main window by its exact caption (the direct program's unless another is given).
focus_main() {
  MAIN=$(wait_window "${1:-^Autenticar Protocolo \[versão 3\.21\.14\.31\] \$}")
  xdotool windowfocus --sync "$MAIN" 2>/dev/null || xdotool windowfocus "$MAIN"
}

key() { xdotool key --delay 50 "$@"; sleep 0.3; }

expect_exit_zero() {
  for _ in $(seq 1 100); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program did not end"
  local rc=0
  wait "$PROGRAM_PID" || rc=$?
  [ "$rc" -eq 0 ] || fail "exit code $rc"
}

# Waits until a captured file holds exactly the golden bytes.
expect_bytes() {
  local file="$1" golden="$GOLDEN/$2"
  for _ in $(seq 1 100); do
    cmp -s "$file" "$golden" && return 0
    sleep 0.1
  done
  cmp "$file" "$golden" >&2 || true
  od -c "$file" | head -20 >&2
  fail "$file differs from $2"
}

settings() { printf '[QUOLT]\r\n%s' "$1" >"$CASE/app/Ravivavizuru.ini"; }

case_document() {
  setup_case document
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  settings $'MODELO=0\r\nPORTA=1\r\nBOBINA=0\r\n'
  # COM1 is a pseudo-terminal, a character device like a real serial port.
  "$TOOLS/pty_capture" "$CASE/ports/com1" "$CASE/com1.out" &
  READER_PID=$!
  for _ in $(seq 1 50); do [ -L "$CASE/ports/com1" ] && break; sleep 0.1; done
  start_program quolt_autenticador.exe OK "$TEXT"
  focus_main
  [ "$(xdotool getwindowname "$MAIN")" = "$CAPTION" ] || fail "caption '$(xdotool getwindowname "$MAIN")'"
  key F5
  expect_bytes "$CASE/com1.out" document_roll.bin
  # Alt+D clicks the Authenticate button while its tab is in view, and only then: the second
  # copy comes from it, none from the Alt+D on the settings tab, the third from F5.
  key alt+d
  cat "$GOLDEN/document_roll.bin" "$GOLDEN/document_roll.bin" >"$CASE/two.bin"
  GOLDEN="$CASE" expect_bytes "$CASE/com1.out" two.bin
  key ctrl+Tab
  key alt+d
  key ctrl+Tab
  key F5
  cat "$CASE/two.bin" "$GOLDEN/document_roll.bin" >"$CASE/three.bin"
  GOLDEN="$CASE" expect_bytes "$CASE/com1.out" three.bin
  key F4
  expect_exit_zero
  cmp "$CASE/com1.out" "$CASE/three.bin" || fail "more than three copies reached COM1"
}

case_label() {
  setup_case label
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  settings $'MODELO=2\r\nPORTA=0\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\\\\HOST\\SHARE\r\n'
  # \\HOST\SHARE is the folder unc/host/share of the prefix's devices: here a file of the test.
  mkdir -p "$CASE/prefix/dosdevices/unc/host"
  : >"$CASE/share.out"
  ln -s "$CASE/share.out" "$CASE/prefix/dosdevices/unc/host/share"
  start_program quolt_autenticador.exe OK "$TEXT"
  focus_main
  key F5
  expect_bytes "$CASE/share.out" label_entity.bin
  [ "$(grep -c $'\r$' "$CASE/share.out")" -eq 30 ] || fail "the receipt has not 30 lines"
  key F4
  expect_exit_zero
}

# The text of the window's edit field as the system holds it.
field_text() { window_texts | awk -F'\t' '$1 == "  Edit" { print $3; exit }'; }

case_settings() {
  setup_case settings
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  # 80 characters from the host are kept whole; the operator may delete but never type the
  # field past 48 characters.
  local long="ENTIDADE DE NOME BEM MAIS COMPRIDO DO QUE O CAMPO PROTOC:0001/2026 11/12/2026 10:45"
  start_program quolt_autenticador.exe OK "$long"
  focus_main
  [ "$(field_text)" = "$long" ] || fail "the host's text: '$(field_text)'"
  key Z
  [ "$(field_text)" = "$long" ] || fail "typed past 48 characters: '$(field_text)'"
  xdotool key --delay 20 --repeat $((${#long} - 47)) Delete
  xdotool type --delay 50 "ZZ"
  sleep 0.3
  [ "$(field_text)" = "Z${long: -47}" ] || fail "after deleting and typing: '$(field_text)'"
  [ ! -e "$CASE/app/Ravivavizuru.ini" ] || fail "settings written before any change"
  # To the settings tab, where the focus goes to the port list; one step down picks COM1.
  key ctrl+Tab
  key Down
  printf '[QUOLT]\r\nMODELO=0\r\nPORTA=1\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n' >"$CASE/expected.ini"
  for _ in $(seq 1 50); do cmp -s "$CASE/app/Ravivavizuru.ini" "$CASE/expected.ini" && break; sleep 0.1; done
  cmp "$CASE/app/Ravivavizuru.ini" "$CASE/expected.ini" || fail "Ravivavizuru.ini: $(cat -A "$CASE/app/Ravivavizuru.ini")"
  # F4 on the settings tab is no command of the program's; back on the first tab it ends it.
  key F4
  key Escape
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "F4 on the settings tab ended the program"
  key ctrl+Tab
  key F4
  expect_exit_zero
}

case_messages() {
  setup_case messages
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  # A stored model that does not convert stops the load: no list gets a selection.
  settings $'MODELO=abc\r\nPORTA=1\r\n'
  start_program quolt_autenticador.exe OK "$TEXT"
  wait_box "$TITLE" "''abc'' is not a valid integer value."
  key Return
  focus_main
  key F5
  wait_box "$TITLE" "Selecione uma Porta!"
  key Return
  focus_main
  key F4
  expect_exit_zero
}

case_showerror() {
  setup_case showerror
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  # Too few words: the show handler fails while the window is still out of sight.
  start_program quolt_autenticador.exe OK "X PROTOC:55"
  wait_box "$TITLE" "List index out of bounds (1)"
  if window_texts | grep -q '^TFrmAutenticar'; then fail "the window is in view before its error box is closed"; fi
  key Return
  focus_main
  key F4
  expect_exit_zero
}

case_ioerror() {
  setup_case ioerror
  cp "$WIN_BIN/bin/quolt_autenticador.exe" "$CASE/app/"
  settings $'MODELO=0\r\nPORTA=2\r\nBOBINA=1\r\n'
  # COM2 is a folder: the system refuses to open it for writing.
  mkdir "$CASE/com2.dir"
  ln -s "$CASE/com2.dir" "$CASE/ports/com2"
  start_program quolt_autenticador.exe OK "$TEXT"
  focus_main
  key F5
  wait_box "$TITLE" "File access denied."
  key Return
  focus_main
  key F4
  expect_exit_zero
}

case_dll() {
  setup_case dll
  cp "$WIN_BIN/bin/quolt_autenticador_dll.exe" "$WIN_BIN/bin/Mp2032.dll" "$CASE/app/"
    # LPT1 is a FIFO the test reads.
  mkfifo "$CASE/lpt1.fifo"
  cat 0<>"$CASE/lpt1.fifo" >"$CASE/lpt1.out" &
  READER_PID=$!
  ln -s "$CASE/lpt1.fifo" "$CASE/ports/lpt1"
  # The stand-in reads these from the environment, with Windows paths (Z: is the root).
  export MP2032_JOURNAL="Z:$CASE/journal" MP2032_SCENARIO="Z:$CASE/scenario"
  printf 'DocumentInserted=-2,real\n' >"$CASE/scenario"
  # An 8-bit program: the text reaches the library in the code page (Ã is C3 in 1252).
  start_program quolt_autenticador_dll.exe OK "SÃO PAULO PROTOC:1 2 3"
  focus_main '^Autenticar Protocolo - dll - \[versão 3\.21\.14\.31\] $'
  # The first command finds no document, the second prints.
  key F5
  wait_box Information "Documento não inserido."
  key Return
  focus_main '^Autenticar Protocolo - dll - \[versão 3\.21\.14\.31\] $'
  key F5
  printf 'S\303O PAULO PROTOC:1 2 3\r\n' >"$CASE/expected.out"
  GOLDEN="$CASE" expect_bytes "$CASE/lpt1.out" expected.out
  key F4
  expect_exit_zero
  cat >"$CASE/expected.journal" <<'END'
ConfiguraModeloImpressora(1) -> 1
ConfiguraModeloImpressora(1) -> 1
FechaPorta() -> 1
IniciaPorta("LPT1") -> 1
DocumentInserted() -> -2
FechaPorta() -> 1
IniciaPorta("LPT1") -> 1
DocumentInserted() -> 0
AutenticaDoc("S\xC3O PAULO PROTOC:1 2 3", 10000) -> 1
END
  diff "$CASE/expected.journal" "$CASE/journal" >&2 || fail "the calls into Mp2032.dll"
  printf '[QUOLT]\r\nMODELO=0\r\nPORTA=0\r\n' >"$CASE/expected.ini"
  cmp "$CASE/expected.ini" "$CASE/app/Ravivavizuru.ini" || fail "Ravivavizuru.ini: $(cat -A "$CASE/app/Ravivavizuru.ini")"
}

command="$1"
case "$command" in
  prepare) prepare ;;
  document | label | settings | messages | showerror | ioerror | dll) "case_$command" ;;
  *) fail "unknown case $command" ;;
esac
PASSED=1
echo "PASS: $command"
