# Sourced by the benchmarks that run over a generated archive: after
#   . bench/archivio_generato.sh BUILD N
# $dir is a temporary folder removed on exit, $dir/archivio an archive of N generated
# certificates, $db its file, and secondi CMD… prints the elapsed seconds, the processor seconds
# (user + system: on a machine shared with other work the steadier figure) and the peak memory
# in KiB of CMD. sul_server SCHEMA copies the archive into a new schema of the PostgreSQL server in
# PALIO_PG_PROVA (bash scripts/postgres-prova.sh bench/…) and sets $server to its address; the
# schema is removed on exit.
build=$1
n=$2
dir=$(mktemp -d)
server=""
trap 'togli_schema; rm -rf "$dir"' EXIT
"$build/bench/palio_genera_archivio" "$dir/archivio" "$n" > /dev/null
db="$dir/archivio/Zefo2015.db"
secondi() { /usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1, $2 + $3, $4 }'; }
. "$(dirname "${BASH_SOURCE[0]}")/server.sh"
sul_server() { copia_sul_server "$build" "$db" "$1"; server=$indirizzo_server; }
