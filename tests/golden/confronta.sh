#!/usr/bin/env bash
# Runs the batch command over each small archive of tests/data/<caso>/ (base.txt, archivio.sql)
# and compares what it writes (transmission files, log, console output) byte for byte with
# the files in atteso/. In comandi.txt, @OUT names the output folder and @CASO the case's own folder
# (input files of the case).
# Uso: confronta.sh CLI DATI [--aggiorna | --server]   (--aggiorna rewrites atteso/ from this build)
# --server runs every case on an archive in a schema of its own of the PostgreSQL server in
# PALIO_PG_PROVA (scripts/postgres-prova.sh) and compares with the same files.
# With PALIO_EMULATORE set (the Windows build: wine) CLI runs through it, and the console's
# CR LF line ends, Windows' own, are read as LF.
set -uo pipefail
emulatore=${PALIO_EMULATORE:-}
fine_riga=(cat)
[ -n "$emulatore" ] && fine_riga=(tr -d '\r')
cli=$1
# Absolute, since each command runs from its own work folder and @CASO must still reach the case.
dati=$(cd "$2" && pwd)
aggiorna=${3:-}
server=""
if [ "$aggiorna" = "--server" ]; then
  server=${PALIO_PG_PROVA:-}
  [ -n "$server" ] || { echo "PALIO_PG_PROVA non è impostata: avviare con scripts/postgres-prova.sh" >&2; exit 1; }
fi
radice=$(cd "$dati/../.." && pwd)
esito=0
for caso in "$dati"/*/; do
  caso=${caso%/}
  [ -f "$caso/comandi.txt" ] || continue
  nome=$(basename "$caso")
  lavoro=$(mktemp -d)
  archivio="$lavoro/archivio"
  carica=(sqlite3 "$lavoro/archivio/Zefo2015.db")
  if [ -n "$server" ]; then
    schema="golden_${nome}_$$"
    archivio="$server?schema=$schema"
    carica=(env PGOPTIONS="-c search_path=$schema,public" psql -q -v ON_ERROR_STOP=1 "$server")
  fi
  $emulatore "$cli" crea-archivio "$archivio" > /dev/null
  # base.txt names an archive of the project to start from (e.g. the example archive);
  # archivio.sql holds the case's own rows or changes.
  if [ -f "$caso/base.txt" ]; then
    "${carica[@]}" < "$radice/$(head -1 "$caso/base.txt")"
  fi
  if [ -f "$caso/archivio.sql" ]; then
    "${carica[@]}" < "$caso/archivio.sql"
  fi
  mkdir -p "$lavoro/out"
  # The Windows program names the output folder as Wine sees it: Z:\tmp\...\out\NOME.
  finestre=()
  if [ -n "$emulatore" ]; then
    w="Z:${lavoro//\//\\}\\out"
    finestre=(-e "s|${w//\\/\\\\}\\\\|@OUT/|g")
  fi
  : > "$lavoro/out/console.txt"
  while IFS= read -r riga || [ -n "$riga" ]; do
    [ -z "$riga" ] || [ "${riga#\#}" != "$riga" ] && continue
    comando=${riga//@OUT/$lavoro/out}
    comando=${comando//@CASO/$caso}
    # shellcheck disable=SC2086
    {
      echo "\$ $riga"
      (cd "$lavoro" && $emulatore "$cli" --archivio "$archivio" $comando 2>&1 < /dev/null)
      echo "uscita $?"
    } | "${fine_riga[@]}" | sed "${finestre[@]}" -e "s|$lavoro/out|@OUT|g" -e "s|$caso|@CASO|g" >> "$lavoro/out/console.txt"
  done < "$caso/comandi.txt"
  if [ "$aggiorna" = "--aggiorna" ]; then
    rm -rf "$caso/atteso"
    cp -r "$lavoro/out" "$caso/atteso"
  else
    for f in "$caso"/atteso/* "$lavoro"/out/*; do
      b=$(basename "$f")
      if ! cmp -s "$caso/atteso/$b" "$lavoro/out/$b"; then
        echo "DIVERSO: $nome/$b"
        diff <(cut -c1-300 "$caso/atteso/$b" 2>/dev/null) <(cut -c1-300 "$lavoro/out/$b" 2>/dev/null) | head -20
        esito=1
      fi
    done
  fi
  rm -rf "$lavoro"
  [ -z "$server" ] || PGOPTIONS="-c client_min_messages=warning" psql -q "$server" -c "drop schema $schema cascade" > /dev/null
done
exit $esito
