#!/bin/sh
# Times the payroll import of N certificate lines (with family blocks and one continuation line
# in ten) against the sqlite3 shell importing, in one transaction, CSV files of the same rows and
# columns into equivalent tables (the columns the import fills, same keys and indexes). The
# import's own copy of the archive is then timed apart, on the full archive.
#
#   bench/import/misura.sh [BUILD_DIR] [N] [--server]      (defaults: build, 100000)
# --server times the same import also into a new schema of the PostgreSQL server in PALIO_PG_PROVA
# (bash scripts/postgres-prova.sh bench/import/misura.sh … --server) and gives the ratio.
set -eu
BUILD=${1:-build}
N=${2:-100000}
SERVER=${3:-}
CLI="$BUILD/palio2015-cli"
GEN="$BUILD/bench/palio_genera_paghe"
[ -x "$CLI" ] && [ -x "$GEN" ] || { echo "Costruire prima palio2015-cli e palio_genera_paghe in $BUILD" >&2; exit 1; }
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

"$GEN" "$N" "$DIR/paghe.43"
"$GEN" --ddl "$DIR/tabelle.sql"
"$CLI" crea-archivio "$DIR/palio" >/dev/null

tempo() {  # seconds elapsed, peak memory and processor seconds (user + system) of a command
    /usr/bin/time -f "%e %M %U %S" -o "$DIR/tempo" "$@" >/dev/null
    awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$DIR/tempo"
}

set -- $(tempo "$CLI" --archivio "$DIR/palio" importa paghe "$DIR/paghe.43" --tracciato dip)
IMPORT_S=$1 IMPORT_KB=$2 IMPORT_CPU=$3

# The same rows and columns, taken from what the import stored.
colonne() { sqlite3 "$DIR/tabelle.sql.db" "select group_concat(name, ', ') from pragma_table_info('$1')"; }
sqlite3 "$DIR/tabelle.sql.db" < "$DIR/tabelle.sql"
for t in Zefo1 Zefo2 Zefo3; do
    sqlite3 -csv "$DIR/palio/Zefo2015.db" "select $(colonne $t) from $t" > "$DIR/$t.csv"
done
cat > "$DIR/import.sql" <<SQL
PRAGMA journal_mode=WAL;
PRAGMA synchronous=NORMAL;
BEGIN;
.import --csv $DIR/Zefo1.csv Zefo1
.import --csv $DIR/Zefo2.csv Zefo2
.import --csv $DIR/Zefo3.csv Zefo3
COMMIT;
SQL
cp "$DIR/tabelle.sql.db" "$DIR/sqlite.db"
set -- $(tempo sh -c "sqlite3 '$DIR/sqlite.db' < '$DIR/import.sql'")
SQLITE_S=$1 SQLITE_CPU=$3

righe=$(sqlite3 "$DIR/palio/Zefo2015.db" "select (select count(*) from Zefo1) || ' Zefo1, ' || (select count(*) from Zefo2) || ' Zefo2, ' || (select count(*) from Zefo3) || ' Zefo3'")
controllo=$(sqlite3 "$DIR/sqlite.db" "select (select count(*) from Zefo1) || ' Zefo1, ' || (select count(*) from Zefo2) || ' Zefo2, ' || (select count(*) from Zefo3) || ' Zefo3'")
# The copy of the archive every import takes first, timed apart: a one-line import into the
# archive just filled is nearly all copy.
head -c 2306 "$DIR/paghe.43" > "$DIR/uno.43"
set -- $(tempo "$CLI" --archivio "$DIR/palio" importa paghe "$DIR/uno.43" --tracciato dip --ancora)
COPIA_S=$1
ARCHIVIO_MB=$(du -m "$DIR/palio/Zefo2015.db" | cut -f1)

echo "file:             $(du -m "$DIR/paghe.43" | cut -f1) MB, $N righe di certificato"
echo "importa paghe:    ${IMPORT_S} s (processore ${IMPORT_CPU} s), memoria massima ${IMPORT_KB} kB  ($righe)"
echo "sqlite3 .import:  ${SQLITE_S} s (processore ${SQLITE_CPU} s)  ($controllo)"
# On a machine shared with other work the processor times compare better than the elapsed ones.
echo "rapporto:         $(echo "$IMPORT_S $SQLITE_S" | awk '{ printf "%.2f", $1 / $2 }'), sul processore $(echo "$IMPORT_CPU $SQLITE_CPU" | awk '{ printf "%.2f", $1 / $2 }') (limite 1,30)"
echo "copia prima di importare, archivio di ${ARCHIVIO_MB} MB: ${COPIA_S} s (a parte)"
if [ "$SERVER" = "--server" ]; then
    [ -n "${PALIO_PG_PROVA:-}" ] || { echo "PALIO_PG_PROVA non è impostata: avviare con scripts/postgres-prova.sh" >&2; exit 1; }
    SCHEMA="misura_$$"
    trap 'PGOPTIONS="-c client_min_messages=warning" psql -q "$PALIO_PG_PROVA" -c "drop schema if exists $SCHEMA cascade" >/dev/null; rm -rf "$DIR"' EXIT
    "$CLI" crea-archivio "$PALIO_PG_PROVA?schema=$SCHEMA" >/dev/null
    set -- $(tempo "$CLI" --archivio "$PALIO_PG_PROVA?schema=$SCHEMA" importa paghe "$DIR/paghe.43" --tracciato dip)
    echo "importa paghe sul server: $1 s (processore $3 s), memoria massima $2 kB"
    echo "rapporto server / file: $(echo "$1 $IMPORT_S" | awk '{ printf "%.2f", $1 / $2 }') (obiettivo <= 1.5)"
fi
