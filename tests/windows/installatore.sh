#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own that is thrown away at the end:
# a silent installation for the user, the files and Start-menu entries where they belong, the
# example archive configured; the installed batch command writes the employees' supply of the
# example archive into a folder named "Niccolò", byte for byte the golden file, and (with Qt) the
# agent's page as a PDF there; every library the installed programs load is installed or is the
# system's; a silent removal takes away the program and leaves the operator's archive.
# Uso: installatore.sh BUILD SORGENTI
set -uo pipefail
build=$1
sorgenti=$2
# shellcheck source=comune.sh
source "$(dirname "$0")/comune.sh" "$build"
casa="$prefisso/drive_c/users/$utente"
menu="$casa/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Palio 2015"

# What the installer must have put in place.
attesi=(palio2015-cli.exe Disinstalla.exe Esempio/Zefo2015.db)
voci=("Palio 2015 - riga di comando.lnk" "Disinstalla Palio 2015.lnk")
if [ -f "$build/palio2015.exe" ]; then
  attesi+=(palio2015.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll platforms/qwindows.dll
           styles/qwindowsvistastyle.dll translations/qtbase_it.qm)
  voci+=("Palio 2015.lnk")
fi
for f in "${attesi[@]}"; do [ -f "$dest/$f" ] || sbaglio "non installato: $f"; done
for v in "${voci[@]}"; do [ -f "$menu/$v" ] || sbaglio "manca nel menu Start: $v"; done
[ "$(head -1 "$ravo/zefo2015.ini" 2>/dev/null | tr -d '\r')" = 'C:\RAVO\Zefo2015\Esempio' ] ||
  sbaglio "zefo2015.ini non indica l'archivio di esempio"
cmp -s "$ravo/Esempio/Zefo2015.db" "$dest/Esempio/Zefo2015.db" || sbaglio "archivio di esempio non copiato in C:\\RAVO"

# Every DLL the installed programs and libraries import is installed beside them or is Windows' own
# (plugins look beside the programs too, where Windows finds Qt's DLLs).
sistema="$prefisso/drive_c/windows/system32"
while IFS= read -r -d '' binario; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$binario" | sed -n 's/^\s*DLL Name: //p'); do
    # API sets (api-ms-win-*) are names Windows' loader resolves itself, not files.
    case ${dll,,} in api-ms-win-*|ext-ms-win-*) continue ;; esac
    [ -n "$(find "$dest" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
    [ -n "$(find "$sistema" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
    sbaglio "$(basename "$binario") vuole $dll, che non è installata"
  done
done < <(find "$dest" \( -iname '*.exe' -o -iname '*.dll' \) ! -name Disinstalla.exe -print0)

# The installed batch command on the configured example archive, into a folder named "Niccolò".
cartella='C:\RAVO\Zefo2015\Niccolò'
(cd "$prefisso" && timeout 120 $wine "$dest/palio2015-cli.exe" genera dipendenti --cartella "$cartella" \
   --tipi DIP,AMM,CoC --quadro-ct < /dev/null) > "$prefisso/console.txt" 2>&1 ||
  { sbaglio "genera dipendenti è terminato con errore"; cat "$prefisso/console.txt"; }
cmp "$sorgenti/tests/data/esempio/atteso/ZF2015.txt" "$ravo/Niccolò/ZF2015.txt" || sbaglio "ZF2015.txt diverso dal file atteso"

# With Qt, the batch command prints too, with no window: the agent's page as a PDF whose text is
# text (the example agent's name), not the boxes a platform without the system's fonts drew.
if [ -f "$build/palio2015.exe" ]; then
  (cd "$prefisso" && timeout 120 $wine "$dest/palio2015-cli.exe" stampa sostituto --pdf "$cartella\\sostituto.pdf" \
     < /dev/null) > "$prefisso/stampa.txt" 2>&1 || { sbaglio "stampa sostituto è terminato con errore"; cat "$prefisso/stampa.txt"; }
  pdftotext "$ravo/Niccolò/sostituto.pdf" - 2>/dev/null | grep -q "COMUNE DI VALLEVERDE" ||
    sbaglio "il PDF del sostituto non ha il testo del sostituto"
fi

# A silent removal, waited for in place (_?=): the program goes, the operator's files stay.
winedest='C:\users\'"$utente"'\AppData\Local\Programs\Palio 2015'
timeout 300 $wine "$dest/Disinstalla.exe" /S "_?=$winedest" || sbaglio "la disinstallazione è terminata con $?"
timeout 120 /usr/lib/wine/wineserver -w
rimasti=$(cd "$dest" 2>/dev/null && find . -type f ! -name Disinstalla.exe | head -5)
[ -z "$rimasti" ] || sbaglio "rimasti dopo la disinstallazione: $rimasti"
[ ! -d "$menu" ] || sbaglio "il menu Start ha ancora la cartella Palio 2015"
[ -f "$ravo/Esempio/Zefo2015.db" ] && [ -f "$ravo/Niccolò/ZF2015.txt" ] ||
  sbaglio "la disinstallazione ha tolto i file dell'operatore"

[ $esito = 0 ] && echo "Installatore: installazione, fornitura in Niccolò e disinstallazione come attese"
exit $esito
