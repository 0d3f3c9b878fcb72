#!/usr/bin/env bash
# Employee certificates printed to one PDF by the batch command, over generated archives of
# growing size: time, pages per second, bytes per page and peak memory for each.
# Uso: bench/print/misura.sh [BUILD] [N...]   (default build, 100 1000 3000)
set -euo pipefail
build=${1:-build}
shift || true
misure=("$@")
[ ${#misure[@]} -gt 0 ] || misure=(100 1000 3000)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf "%-12s %8s %10s %10s %14s %12s\n" certificati pagine secondi "pagine/s" "byte/pagina" "memoria MiB"
for n in "${misure[@]}"; do
    "$build/bench/palio_genera_archivio" "$dir/a$n" "$n" > /dev/null
    pdf="$dir/c$n.pdf"
    read -r t mem < <(/usr/bin/time -f "%e %M" "$build/palio2015-cli" --archivio "$dir/a$n" \
        stampa dipendenti --pdf "$pdf" --cognome "" "ZZZZZZ" 2>&1 >/dev/null | tail -1)
    pagine=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
    dim=$(stat -c %s "$pdf")
    awk -v n="$n" -v p="$pagine" -v t="$t" -v d="$dim" -v m="$mem" \
        'BEGIN { printf "%-12d %8d %10.2f %10.1f %14d %12.1f\n", n, p, t, p / t, d / p, m / 1024 }'
    rm -f "$pdf"
done
