#!/usr/bin/env bash
# The batch command runs where no desktop is installed: it may paint pages (Qt Gui) but must not
# need Qt Widgets or Qt PrintSupport, neither itself nor through the libraries it loads.
# Uso: cli_senza_widgets.sh PROGRAMMA OBJDUMP
set -euo pipefail
programma=$1
objdump=${2:-objdump}
vietate='Qt6(Widgets|PrintSupport)'
diretti=$("$objdump" -p "$programma" | grep -E 'NEEDED|DLL Name' || true)
if [ -z "$diretti" ]; then
  echo "nessuna libreria letta da $objdump -p $programma" >&2
  exit 1
fi
if grep -E "$vietate" <<<"$diretti"; then
  echo "palio2015-cli è collegato a Qt Widgets o PrintSupport" >&2
  exit 1
fi
# On Linux the loader names every library loaded, those of the libraries too.
if [[ "$programma" != *.exe ]] && command -v ldd >/dev/null; then
  tutte=$(ldd "$programma")
  if grep -E "$vietate" <<<"$tutte"; then
    echo "palio2015-cli carica Qt Widgets o PrintSupport attraverso un'altra libreria" >&2
    exit 1
  fi
fi
echo "palio2015-cli: nessuna libreria di finestre"
