#!/usr/bin/env bash
# The employees' generation run over a generated archive, side by side with what the sqlite3
# shell takes to read the same three tables plus copying a file of the output's size.
# Uso: bench/generazione/misura.sh [BUILD] [N] [--server]   (default build, 100000)
# --server runs the same generation also on a copy of the archive in a schema of the PostgreSQL
# server in PALIO_PG_PROVA (bash scripts/postgres-prova.sh bench/generazione/misura.sh … --server)
# and gives the ratio of the two.
set -euo pipefail
. "$(dirname "$0")/../archivio_generato.sh" "${1:-build}" "${2:-100000}"

read -r t_gen c_gen mem_gen < <(secondi "$build/palio2015-cli" --archivio "$dir/archivio" genera dipendenti \
    --cartella "$dir/out" --tipi DIP,AMM,CoC --quadro-ct)
read -r t_sql c_sql _ < <(secondi sqlite3 "$db" "select * from Zefo1; select * from Zefo2; select * from Zefo3;")
read -r t_cp c_cp _ < <(secondi cp "$dir/out/ZF2015.txt" "$dir/copia.txt")
dim=$(stat -c %s "$dir/out/ZF2015.txt")
echo "certificati: $n   file: $((dim / 1900)) record, $((dim / 1048576)) MiB"
echo "generazione: ${t_gen} s (processore ${c_gen} s), memoria massima $((mem_gen / 1024)) MiB"
echo "sqlite3 select * delle tre tabelle: ${t_sql} s (processore ${c_sql} s); copia del file: ${t_cp} s (processore ${c_cp} s)"
awk -v g="$t_gen" -v s="$t_sql" -v c="$t_cp" -v cg="$c_gen" -v cs="$c_sql" -v cc="$c_cp" \
    'BEGIN { printf "rapporto generazione / (lettura + copia): %.2f, sul tempo di processore %.2f (obiettivo <= 1.3)\n", g / (s + c), cg / (cs + cc) }'

if [ "${3:-}" = "--server" ]; then
  sul_server "misura_$$"
  read -r t_srv c_srv mem_srv < <(secondi "$build/palio2015-cli" --archivio "$server" genera dipendenti \
      --cartella "$dir/out-server" --tipi DIP,AMM,CoC --quadro-ct)
  cmp -s "$dir/out/ZF2015.txt" "$dir/out-server/ZF2015.txt" && uguale="uguale" || uguale="DIVERSO"
  echo "generazione sul server: ${t_srv} s (processore ${c_srv} s), memoria massima $((mem_srv / 1024)) MiB; file $uguale"
  awk -v s="$t_srv" -v g="$t_gen" 'BEGIN { printf "rapporto server / file: %.2f (obiettivo <= 1.5)\n", s / g }'
fi
