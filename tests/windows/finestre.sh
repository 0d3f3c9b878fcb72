#!/usr/bin/env bash
# The desktop program under Xvfb and Wine, installed by its installer into a Wine prefix of its
# own: it starts on the example archive the installer configured and shows the menu, titled with
# the example agent; then an operator's keys on the menu and on the generation window write the
# employees' supply of the example archive, byte for byte the golden file. With
# PALIO_SCHERMATE=DIR the screens are saved there: the menu, the employees' editor on its first
# certificate, the Archivio window, the generation window with its closing message.
# Uso: finestre.sh BUILD SORGENTI
set -uo pipefail
build=$1
sorgenti=$2
if [ -z "${PALIO_XVFB:-}" ]; then
  PALIO_XVFB=1 exec timeout 900 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
# shellcheck source=comune.sh
source "$(dirname "$0")/comune.sh" "$build"
programma="$dest/palio2015.exe"
schermate=${PALIO_SCHERMATE:-}
[ -n "$schermate" ] && mkdir -p "$schermate"
fotografa() { [ -z "$schermate" ] || import -window root "$schermate/$1.png"; }

# The start-up to the menu, on its own: the program says when the menu is ready and ends.
(cd "$prefisso" && timeout 180 $wine "$programma" --esci-dopo-avvio < /dev/null) > "$prefisso/avvio.txt" 2>&1 ||
  sbaglio "l'avvio è terminato con errore: $(cat "$prefisso/avvio.txt")"
grep -q "menu pronto" "$prefisso/avvio.txt" || sbaglio "il menu non si è mostrato: $(cat "$prefisso/avvio.txt")"

# The first window named NAME on screen within SECONDS. Asked again each second: a window that
# closes while xdotool reads it (Wine's short-lived ones at start-up) ends a --sync search.
cerca() {
  local fino=$((SECONDS + $1)) w
  while [ "$SECONDS" -lt "$fino" ]; do
    w=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 1
  done
  return 1
}

# The program on the example archive, its menu on screen with the focus on its first button
# ("Importazione dati"), as a fresh start leaves it. False when the menu does not show.
avvia() {
  # (its killing at the end is no news)
  (cd "$prefisso" && timeout 300 $wine "$programma" < /dev/null >> "$prefisso/finestre.txt" 2>&1) 2>/dev/null &
  menu=$(cerca 180 "COMUNE DI VALLEVERDE")
  [ -n "$menu" ] || return 1
  sleep 2
  xdotool windowfocus --sync "$menu" 2>/dev/null || true
}
# Each run ends with the prefix's programs, so the next one starts afresh.
ferma() {
  timeout 60 /usr/lib/wine/wineserver -k >/dev/null 2>&1
  wait 2>/dev/null
}
# Keys, each given time to reach the window.
tasti() { xdotool key --delay 200 "$@"; }
# The window named NAME, once it shows.
aspetta() { cerca 60 "$1"; }

# The employees' supply through the windows: the menu's "Generazione del file" of the employees
# (the sixth button after the first), then on the generation window the CSO box, the three kinds
# and "Genera file" (the seventh stop after the last kind), into the folder it proposes.
uscita="$ravo/Esempio/FileXInvio"
if avvia; then
  fotografa menu
  tasti Tab Tab Tab Tab Tab Tab space
  if generazione=$(aspetta "Creazione del file da inviare DIPENDENTI") && [ -n "$generazione" ]; then
    sleep 1
    tasti Tab space Tab Tab Tab space Tab space Tab space Tab Tab Tab Tab Tab Tab Tab space
    # The run ends with its message, after the files are in place.
    for _ in $(seq 120); do
      [ -f "$uscita/Zf2015.log" ] && break
      sleep 1
    done
    sleep 2
    fotografa generazione
    cmp "$sorgenti/tests/data/esempio/atteso/ZF2015.txt" "$uscita/ZF2015.txt" ||
      sbaglio "ZF2015.txt generato dalle finestre diverso dal file atteso"
  else
    sbaglio "la finestra di generazione dei dipendenti non si è aperta dal menu"
  fi
else
  sbaglio "nessuna finestra col nome del sostituto dell'archivio di esempio"
fi
ferma

# The screens of the editor (the employees' "Comunicazione Unica 2015", third after the first
# button) and of the Archivio window ("Cambia archivio…", eleventh), each from a fresh start.
if [ -n "$schermate" ] && avvia; then
  tasti Tab Tab Tab space
  if [ -n "$(aspetta "Certificazione Unica")" ]; then sleep 3; fotografa editor; else sbaglio "l'editor dei dipendenti non si è aperto"; fi
  ferma
fi
if [ -n "$schermate" ] && avvia; then
  tasti Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
  if [ -n "$(aspetta "^Archivio$")" ]; then sleep 2; fotografa archivio; else sbaglio "la finestra Archivio non si è aperta"; fi
  ferma
fi

[ $esito = 0 ] && echo "Finestre: il programma installato si avvia sull'archivio di esempio, mostra il menu e genera dalle finestre il file atteso dei dipendenti"
exit $esito
