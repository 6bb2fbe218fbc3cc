#!/usr/bin/env bash
# Makes the zip for Windows desks from the 32-bit build and checks what a desk receives: the
# two programs, the library and LEIA-ME.txt, at the top of the archive, nothing else.
#   package_check.sh <windows-x86 build folder> <scratch folder>
set -euo pipefail
build="$1" out="$2"
rm -rf "$out"
mkdir -p "$out"
cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log"
zip=$(ls "$out"/quolt_autenticador-*-windows-x86.zip)
listing=$(cd "$out" && cmake -E tar tf "$zip" | sort | tr '\n' ' ')
expected="LEIA-ME.txt Mp2032.dll quolt_autenticador.exe quolt_autenticador_dll.exe "
[ "$listing" = "$expected" ] || { echo "FAIL: the zip holds: $listing"; exit 1; }
mkdir "$out/desk"
(cd "$out/desk" && cmake -E tar xf "$zip")
cmp "$out/desk/Mp2032.dll" "$build/bin/Mp2032.dll"
grep -q 'quolt_autenticador.exe OK "texto da autenticação"' "$out/desk/LEIA-ME.txt" ||
  { echo "FAIL: LEIA-ME.txt does not tell how the host starts the program"; exit 1; }
grep -q '"sis.ini"' "$out/desk/LEIA-ME.txt" || { echo "FAIL: LEIA-ME.txt does not name sis.ini"; exit 1; }
echo "PASS: $(basename "$zip"): $listing"
