# Sourced by the Windows tests: a Wine prefix of the test's own, removed at the end (kept with
# PALIO_TIENI_PREFISSO=1), the installer of BUILD installed in it silently. Sets wine, prefisso,
# utente, dest (the installation folder), ravo (C:\RAVO\Zefo2015), esito and sbaglio.
wine=/usr/lib/wine/wine64
setup=$1/Palio2015-Setup.exe
[ -f "$setup" ] || { echo "Manca $setup: costruire prima il target installatore"; exit 1; }
prefisso=$(mktemp -d /tmp/palio-wine-XXXXXX)
export WINEPREFIX=$prefisso WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
trap 'timeout 60 /usr/lib/wine/wineserver -k >/dev/null 2>&1; [ -n "${PALIO_TIENI_PREFISSO:-}" ] || rm -rf "$prefisso"' EXIT
esito=0
sbaglio() { echo "ERRORE: $*"; esito=1; }

timeout 300 $wine wineboot -i >/dev/null 2>&1 || { echo "Wine non si avvia"; exit 1; }
timeout 300 $wine "$setup" /S || sbaglio "l'installazione silenziosa è terminata con $?"
timeout 120 /usr/lib/wine/wineserver -w
utente=$(ls "$prefisso/drive_c/users" | grep -vx Public | head -1)
dest="$prefisso/drive_c/users/$utente/AppData/Local/Programs/Palio 2015"
ravo="$prefisso/drive_c/RAVO/Zefo2015"
