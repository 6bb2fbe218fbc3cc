#!/usr/bin/env bash
# Inspects the 32-bit deliverables as Windows will load them:
#   pe_check.sh <program.exe>...                      PE32 GUI executables, no toolchain DLL
#   pe_check.sh --imports <program.exe> <dll> <name>...  and these names imported by name
#   pe_check.sh --exports <library.dll> <name>...  a 32-bit DLL exporting exactly these names
set -euo pipefail
OBJDUMP=i686-w64-mingw32-objdump

check_program() {
  local exe="$1" dump
  [ -f "$exe" ] || { echo "FAIL: $exe missing"; exit 1; }
  dump=$("$OBJDUMP" -p "$exe")
  grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$dump" || { echo "FAIL: $exe is not PE32"; exit 1; }
  grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$dump" ||
    { echo "FAIL: $exe is not a GUI program"; exit 1; }
  # The C and C++ runtimes of the toolchain are linked in: a desk has none of these DLLs.
  if grep -Ei 'DLL Name: *(libstdc\+\+|libgcc|libwinpthread|libssp|libatomic)' <<<"$dump"; then
    echo "FAIL: $exe needs a runtime DLL of the toolchain"
    exit 1
  fi
  echo "$exe: PE32, Windows GUI, imports: $(grep -o 'DLL Name: .*' <<<"$dump" | cut -d' ' -f3 | tr '\n' ' ')"
}

# Fails unless the names found ($2, one a line) are exactly the names expected (the rest).
expect_names() {
  local what="$1" names="$2" expected
  shift 2
  expected=$(printf '%s\n' "$@" | sort)
  if [ "$names" != "$expected" ]; then
    echo "FAIL: $what:"
    echo "$names"
    exit 1
  fi
  echo "$what: $(tr '\n' ' ' <<<"$names")"
}

if [ "${1:-}" = "--imports" ]; then
  exe="$2" dll="$3"
  shift 3
  check_program "$exe"
  # The names a DLL's import block lists by name (an import by ordinal shows no name).
  names=$("$OBJDUMP" -p "$exe" | awk -v dll="$dll" '
      /DLL Name:/ { inside = (tolower($3) == tolower(dll)); next }
      inside && /^[[:space:]]*$/ { inside = 0 }
      inside && $1 ~ /^[0-9a-f]+$/ && NF == 3 { print $3 }' | sort)
  expect_names "$exe imports by name from $dll" "$names" "$@"
  exit 0
fi

if [ "${1:-}" = "--exports" ]; then
  dll="$2"
  shift 2
  dump=$("$OBJDUMP" -p "$dll")
  grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$dump" || { echo "FAIL: $dll is not PE32"; exit 1; }
  if grep -Ei 'DLL Name: *(libstdc\+\+|libgcc|libwinpthread)' <<<"$dump"; then
    echo "FAIL: $dll needs a runtime DLL of the toolchain"
    exit 1
  fi
  # Plain names: no stdcall decoration (@n) and nothing beyond the list.
  names=$(awk '/\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
               inside && /^[[:space:]]*$/ { inside = 0 }
               inside { print $NF }' <<<"$dump" | sort)
  expect_names "$dll exports" "$names" "$@"
  exit 0
fi

for exe in "$@"; do check_program "$exe"; done
