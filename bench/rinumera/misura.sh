#!/usr/bin/env bash
# The renumbering of a generated archive whose every certificate number is past 99,999 (the
# numbers shifted by 100,000, as after seasons of imports and resets), then the generation run
# that it makes possible; the refusal of the run before it, and the archive check's count.
# Uso: bench/rinumera/misura.sh [BUILD] [N]   (default build, 90000)
set -euo pipefail
. "$(dirname "$0")/../archivio_generato.sh" "${1:-build}" "${2:-90000}"
sqlite3 "$db" "update Zefo1 set ID = ID + 100000; update Zefo2 set ID = ID + 100000; update Zefo3 set Id = Id + 100000;
               update Professionisti set ID = ID + 100000; update sqlite_sequence set seq = seq + 100000
               where name in ('Zefo1', 'Professionisti');"
cli=("$build/palio2015-cli" --archivio "$dir/archivio")

read -r t_rif _ _ < <(secondi "${cli[@]}" genera dipendenti --cartella "$dir/out" --tipi DIP,AMM,CoC || true)
errori=$("${cli[@]}" controlla archivio --tipi DIP,AMM,CoC 2>&1 | grep -c 'non rientra nelle cinque cifre' || true)
read -r t_rin c_rin mem_rin < <(secondi "${cli[@]}" rinumera --conferma)
read -r t_gen c_gen _ < <(secondi "${cli[@]}" genera dipendenti --cartella "$dir/out" --tipi DIP,AMM,CoC)
echo "certificati: $n (numeri da 100001)"
echo "generazione rifiutata in ${t_rif} s; controllo: ${errori} errori sul numero"
echo "rinumerazione: ${t_rin} s (processore ${c_rin} s, copia dell'archivio compresa), memoria massima $((mem_rin / 1024)) MiB"
echo "generazione dopo la rinumerazione: ${t_gen} s (processore ${c_gen} s)"
echo "numeri dopo: $(sqlite3 "$db" "select min(ID) || '-' || max(ID) from Zefo1")"
