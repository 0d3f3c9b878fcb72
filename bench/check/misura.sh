#!/usr/bin/env bash
# The check of an archive of N certificates (default 100000) against generating its file.
# Usage: bench/check/misura.sh BUILD_DIR [N] [--server]
# --server times the same check also on a copy of the archive on the PostgreSQL server in
# PALIO_PG_PROVA (bash scripts/postgres-prova.sh bench/check/misura.sh … --server) and gives the ratio.
set -e
. "$(dirname "$0")/../server.sh"
BUILD=${1:?cartella di build}
N=${2:-100000}
DIR=$(mktemp -d)
trap 'togli_schema; rm -rf "$DIR"' EXIT
cmake --build "$BUILD" --target palio_genera_archivio palio_bench_controllo -j2 >/dev/null
"$BUILD/bench/palio_genera_archivio" "$DIR" "$N" >/dev/null
"$BUILD/bench/palio_bench_controllo" "$DIR" 2
# The batch command's check, as an office script runs it: time and peak memory.
cmake --build "$BUILD" --target palio2015-cli -j2 >/dev/null
"$BUILD/palio2015-cli" --archivio "$DIR" genera dipendenti --cartella "$DIR/invio" --tipi DIP,AMM,CoC \
    --sovrascrivi >/dev/null
# The same archive spoiled so that every certificate has problems: a wrong check character in the
# tax code, point 2 missing, a malformed date of birth.
cp "$DIR/Zefo2015.db" "$DIR/guasto.db"
sqlite3 "$DIR/guasto.db" "update Zefo1 set B01 = substr(B01, 1, 15) || 'Z', C002 = '', B05 = '1/2/1970'"
mkdir -p "$DIR/guasto"
mv "$DIR/guasto.db" "$DIR/guasto/Zefo2015.db"
/usr/bin/time -f "%e %M" -o "$DIR/tempo" "$BUILD/palio2015-cli" --archivio "$DIR/guasto" controlla archivio \
    >"$DIR/righe" || true
read -r secondi kib <<< "$(tail -1 "$DIR/tempo")"
echo "palio2015-cli controlla archivio con problemi ovunque ($(($(wc -l < "$DIR/righe") - 1)) problemi):" \
    "$secondi s, memoria massima $((kib / 1024)) MiB"
for cosa in "archivio" "file $DIR/invio/ZF2015.txt"; do
    # shellcheck disable=SC2086
    /usr/bin/time -f "%e %M" -o "$DIR/tempo" "$BUILD/palio2015-cli" --archivio "$DIR" controlla $cosa \
        >/dev/null || true
    read -r secondi kib <<< "$(tail -1 "$DIR/tempo")"
    echo "palio2015-cli controlla ${cosa%% *}: $secondi s, memoria massima $((kib / 1024)) MiB"
done
if [ "${3:-}" = "--server" ]; then
    copia_sul_server "$BUILD" "$DIR/Zefo2015.db" "misura_$$"
    for dove in "$DIR" "$indirizzo_server"; do
        /usr/bin/time -f "%e %U %S %M" -o "$DIR/tempo" "$BUILD/palio2015-cli" --archivio "$dove" controlla archivio \
            >"$DIR/righe-$([ "$dove" = "$DIR" ] && echo file || echo server)" || true
        read -r secondi u s kib <<< "$(tail -1 "$DIR/tempo")"
        echo "$secondi" >> "$DIR/tempi"
        echo "palio2015-cli controlla archivio su $([ "$dove" = "$DIR" ] && echo file || echo server): $secondi s" \
            "(processore $(echo "$u $s" | awk '{ print $1 + $2 }') s), memoria massima $((kib / 1024)) MiB"
    done
    cmp -s "$DIR/righe-file" "$DIR/righe-server" && uguali="uguali" || uguali="DIVERSE"
    awk -v u="$uguali" 'NR == 1 { f = $1 } NR == 2 { printf "rapporto server / file: %.2f (obiettivo <= 1.5); righe %s\n", $1 / f, u }' "$DIR/tempi"
fi
