#!/usr/bin/env bash
# The editor's benchmarks on a generated archive of N certificates (default 100000), on the file
# and on a copy of it on the PostgreSQL server in PALIO_PG_PROVA:
#   bash scripts/postgres-prova.sh bench/editor/misura_server.sh BUILD [N] [benchmark options]
set -euo pipefail
. "$(dirname "$0")/../archivio_generato.sh" "${1:-build}" "${2:-100000}"
shift $(($# < 2 ? $# : 2))
sul_server "misura_$$"
for dove in "$dir/archivio" "$server"; do
  echo "== $([ "$dove" = "$server" ] && echo server || echo file)"
  "$build/bench/palio_bench_editor" --archivio="$dove" "$@"
done
