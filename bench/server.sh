# Sourced by the benchmarks' --server choice: copia_sul_server BUILD DB SCHEMA copies the archive
# file DB into a new schema of the PostgreSQL server in PALIO_PG_PROVA (bash scripts/postgres-prova.sh
# bench/…) and sets $indirizzo_server to its address; togli_schema removes it (call it on exit).
indirizzo_server=""
copia_sul_server() {
  [ -n "${PALIO_PG_PROVA:-}" ] || { echo "PALIO_PG_PROVA non è impostata: avviare con scripts/postgres-prova.sh" >&2; exit 1; }
  indirizzo_server="$PALIO_PG_PROVA?schema=$3"
  "$1/palio2015-cli" crea-archivio "$indirizzo_server" > /dev/null
  # The rows go over as they are: the two archives share one description, column by column.
  for t in SostitutoImposta QuadroCt Parametri Zefo1 Zefo2 Zefo3 Professionisti Invii; do
    sqlite3 "$2" ".mode insert $t" "select * from $t"
  done | PGOPTIONS="-c search_path=$3,public" psql -q -1 -v ON_ERROR_STOP=1 "$PALIO_PG_PROVA" > /dev/null
  # As autovacuum leaves a table some time after it was written: hint bits set, statistics read.
  psql -q "$PALIO_PG_PROVA" -c "vacuum analyze" > /dev/null
}
togli_schema() {
  [ -z "$indirizzo_server" ] || PGOPTIONS="-c client_min_messages=warning" psql -q "$PALIO_PG_PROVA" \
      -c "drop schema if exists ${indirizzo_server##*schema=} cascade" > /dev/null || true
}
