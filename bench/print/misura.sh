#!/usr/bin/env bash
# Employee certificates printed to one PDF by the batch command, over generated archives of
# growing size: elapsed and processor time, pages per processor second (what the goal counts:
# it does not depend on what else the machine runs), bytes per page and peak memory for each.
# Uso: bench/print/misura.sh [BUILD] [N...]   (default build, 100 1000 3000)
set -euo pipefail
build=${1:-build}
shift || true
misure=("$@")
[ ${#misure[@]} -gt 0 ] || misure=(100 1000 3000)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf "%-12s %8s %10s %12s %16s %14s %12s\n" certificati pagine secondi "s processore" "pagine/s proc." "byte/pagina" "memoria MiB"
for n in "${misure[@]}"; do
    "$build/bench/palio_genera_archivio" "$dir/a$n" "$n" > /dev/null
    pdf="$dir/c$n.pdf"
    read -r t u s mem < <(/usr/bin/time -f "%e %U %S %M" "$build/palio2015-cli" --archivio "$dir/a$n" \
        stampa dipendenti --pdf "$pdf" --cognome "" "ZZZZZZ" 2>&1 >/dev/null | tail -1)
    pagine=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
    dim=$(stat -c %s "$pdf")
    awk -v n="$n" -v p="$pagine" -v t="$t" -v c="$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }')" -v d="$dim" -v m="$mem" \
        'BEGIN { printf "%-12d %8d %10.2f %12.2f %16.1f %14d %12.1f\n", n, p, t, c, p / c, d / p, m / 1024 }'
    rm -f "$pdf"
done
