#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL server of its own:
#   bash scripts/postgres-prova.sh COMANDO [argomenti...]
# The cluster is made with initdb in a temporary folder, listens on a free port of 127.0.0.1
# only, and is stopped and removed when the command ends, whatever happens. The command finds
# its address in PALIO_PG_PROVA (postgresql://palio@127.0.0.1:PORTA/prova). The server never
# runs as root: under root (CI) it runs as the system user "nobody".
set -euo pipefail
[ $# -gt 0 ] || { echo "uso: $0 COMANDO [argomenti...]" >&2; exit 2; }

bin=${PALIO_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
[ -x "$bin/initdb" ] || { echo "PostgreSQL non è installato (initdb non trovato): bash scripts/dipendenze.sh" >&2; exit 1; }

cartella=$(mktemp -d "${TMPDIR:-/tmp}/palio-pg.XXXXXX")
chmod 755 "$cartella"
come=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$cartella"
  come=(runuser -u nobody --)
fi
dati="$cartella/dati"

ferma() {
  local rc=$?
  if [ -f "$dati/postmaster.pid" ]; then
    "${come[@]}" "$bin/pg_ctl" -D "$dati" -m immediate -w stop > /dev/null 2>&1 || true
  fi
  rm -rf "$cartella"
  exit "$rc"
}
trap ferma EXIT
trap 'exit 130' INT TERM HUP

# LC_CTYPE C, as crea-archivio asks of an office's database.
"${come[@]}" "$bin/initdb" -D "$dati" -U palio --auth=trust --encoding=UTF8 --locale=C > "$cartella/initdb.log" 2>&1 ||
  { cat "$cartella/initdb.log" >&2; exit 1; }

libera() {
  # A port nobody answers on; another program may still take it first, hence the retries below.
  local p
  for _ in $(seq 50); do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
  done
  return 1
}

avviato=""
for _ in 1 2 3 4 5; do
  porta=$(libera)
  # A test server: its data die with it, so it need not wait for the disk.
  if "${come[@]}" "$bin/pg_ctl" -D "$dati" -l "$cartella/server.log" -w -t 60 \
      -o "-c listen_addresses=127.0.0.1 -p $porta -c unix_socket_directories=$cartella -c fsync=off -c max_connections=200" \
      start > /dev/null; then
    avviato=1
    break
  fi
done
[ -n "$avviato" ] || { cat "$cartella/server.log" >&2; exit 1; }

"$bin/psql" -q -h 127.0.0.1 -p "$porta" -U palio -d postgres -c "create database prova" > /dev/null
export PALIO_PG_PROVA="postgresql://palio@127.0.0.1:$porta/prova"
echo "Server PostgreSQL di prova: $PALIO_PG_PROVA"
"$@"
