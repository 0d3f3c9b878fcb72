#!/usr/bin/env bash
# The batch command in a console, as in a Windows command window (Wine's console on a terminal,
# which shows the console's text in UTF-8): an Italian message with an accent reaches the screen
# as written, "è" and not the two letters the OEM code page would make of its bytes.
# Uso: console.sh PROGRAMMA
set -uo pipefail
programma=$1
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$programma")" && pwd)/wine} WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "Wine non si avvia"; exit 1; }
cartella=$(mktemp -d /tmp/palio-console-XXXXXX)
trap 'rm -rf "$cartella"' EXIT
: > "$cartella/paghe.txt"
# script gives the program a terminal, so Wine makes it a console; the message is the one for a
# payroll import with no layout named.
(cd "$cartella" && LANG=C.UTF-8 timeout 120 script -qec "/usr/lib/wine/wine64 '$programma' importa paghe paghe.txt" /dev/null) \
  > "$cartella/schermo.bin" 2>&1 < /dev/null
# The console draws on the terminal with cursor codes, spaces included: the letters alone remain.
testo=$(sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\r//g' "$cartella/schermo.bin")
if printf '%s' "$testo" | grep -q 'Non *è *stato *indicato'; then
  echo "Console: \"Non è stato indicato\" scritto come tale"
  exit 0
fi
echo "ERRORE: la console non mostra \"Non è stato indicato\"; ha scritto:"
printf '%s\n' "$testo" | od -c | head -20
exit 1
