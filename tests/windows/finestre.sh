#!/usr/bin/env bash
# The desktop program under Xvfb and Wine, installed by its installer into a Wine prefix of its
# own: it starts on the example archive the installer configured and shows the menu, titled with
# the example agent. With PALIO_SCHERMATE=DIR the screen is saved there as menu.png.
# Uso: finestre.sh BUILD
set -uo pipefail
build=$1
if [ -z "${PALIO_XVFB:-}" ]; then
  PALIO_XVFB=1 exec timeout 900 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
# shellcheck source=comune.sh
source "$(dirname "$0")/comune.sh" "$build"
programma="$dest/palio2015.exe"

# The start-up to the menu, on its own: the program says when the menu is ready and ends.
(cd "$prefisso" && timeout 180 $wine "$programma" --esci-dopo-avvio < /dev/null) > "$prefisso/avvio.txt" 2>&1 ||
  sbaglio "l'avvio è terminato con errore: $(cat "$prefisso/avvio.txt")"
grep -q "menu pronto" "$prefisso/avvio.txt" || sbaglio "il menu non si è mostrato: $(cat "$prefisso/avvio.txt")"

# The menu on screen, titled with the example archive's agent.
(cd "$prefisso" && timeout 300 $wine "$programma" < /dev/null > "$prefisso/finestre.txt" 2>&1) &
if finestra=$(timeout 180 xdotool search --sync --onlyvisible --name "COMUNE DI VALLEVERDE" | head -1); then
  sleep 2
  if [ -n "${PALIO_SCHERMATE:-}" ]; then mkdir -p "$PALIO_SCHERMATE"; import -window root "$PALIO_SCHERMATE/menu.png"; fi
  xdotool windowclose "$finestra" 2>/dev/null || true
else
  sbaglio "nessuna finestra col nome del sostituto dell'archivio di esempio"
fi
timeout 60 /usr/lib/wine/wineserver -k >/dev/null 2>&1
wait

[ $esito = 0 ] && echo "Finestre: il programma installato si avvia sull'archivio di esempio e mostra il menu"
exit $esito
