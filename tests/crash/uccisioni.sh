#!/usr/bin/env bash
# Kills employees' generation runs at random moments and checks what each kill leaves: the file
# and the log of one run (the earlier or the new), or the new file with no log, never one run's
# file beside another's log; after Ctrl-C or a termination request no temporaries; after a hard
# kill, temporaries that the next run clears. Two archives alternate, so that every run's file
# and log differ from the previous run's. Also starts two runs at once into one folder: the
# second is refused and the first's file is exact.
# Uso: tests/crash/uccisioni.sh BUILD [UCCISIONI] [CERTIFICATI]   (default 24, 20000)
set -uo pipefail
build=${1:?BUILD}
uccisioni=${2:-24}
n=${3:-20000}
cli="$build/palio2015-cli"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# Archive B: the same generator, fewer certificates and a value the run logs.
"$build/bench/palio_genera_archivio" "$dir/A" "$n" > /dev/null || exit 1
"$build/bench/palio_genera_archivio" "$dir/B" $((n - 1000)) > /dev/null || exit 1
sqlite3 "$dir/B/Zefo2015.db" "update Zefo1 set C006 = '1234' where ID in (select ID from Zefo1 limit 3)"
# The frontispiece counts made to match both lists first, so that every later run writes the same record B.
for a in A B; do
    for chi in dipendenti professionisti; do
        "$cli" --archivio "$dir/$a" genera $chi --cartella "$dir/conteggi" --aggiorna-conteggi --sovrascrivi \
            $([[ $chi = dipendenti ]] && echo --tipi DIP,AMM,CoC) > /dev/null || exit 1
    done
done
rm -rf "$dir/conteggi"

genera() {  # archive folder; exec, so that "genera A &" gives the run's own process id
    exec "$cli" --archivio "$dir/$1" genera dipendenti --cartella "$dir/out" --tipi DIP,AMM,CoC \
        --sovrascrivi --aggiorna-conteggi
}
impronta() { if [[ -e $1 ]]; then md5sum < "$1" | cut -c1-32; else echo nessuno; fi; }

declare -A quale  # content digest -> archive it comes from
for a in A B; do
    rm -rf "$dir/out"
    inizio=$(date +%s.%N)
    (genera $a > /dev/null) || { echo "la generazione di riferimento ($a) non riesce"; exit 1; }
    durata=$(echo "$(date +%s.%N) - $inizio" | bc)
    quale["file $(impronta "$dir/out/ZF2015.txt")"]=$a
    quale["log $(impronta "$dir/out/Zf2015.log")"]=$a
    cp "$dir/out/ZF2015.txt" "$dir/atteso$a.txt"
done
echo "riferimento: una generazione di $n certificati dura ${durata} s"

falliti=0
fallisci() { echo "UCCISIONE $1: $2"; ls -la "$dir/out"; falliti=$((falliti + 1)); }
# The pair in the folder: "A A", "B -" ...; the main file's origin first.
coppia() {
    local f l
    f=$(impronta "$dir/out/ZF2015.txt")
    l=$(impronta "$dir/out/Zf2015.log")
    echo "${quale[file $f]:-${f/nessuno/-}} ${quale[log $l]:-${l/nessuno/-}}"
}
resti() { find "$dir/out" -maxdepth 1 -name '.*' -printf '%f\n' | sort | tr '\n' ' '; }

declare -A esiti
rm -rf "$dir/out"
(genera A > /dev/null)
precedente=A
for ((i = 1; i <= uccisioni; i++)); do
    if [[ $precedente == A ]]; then nuovo=B; else nuovo=A; fi
    segnale=$(shuf -n1 -e KILL TERM INT)
    attesa=$(echo "scale=3; $durata * 1.3 * $(shuf -i 0-1000 -n1) / 1000" | bc)
    genera $nuovo > /dev/null 2>&1 &
    pid=$!
    sleep "$attesa"
    kill -s "$segnale" $pid 2> /dev/null
    { wait $pid; } 2> /dev/null
    rc=$?
    stato=$(coppia)
    sinistri=$(resti)
    case "$stato" in
        "$precedente $precedente" | "$nuovo $nuovo" | "$nuovo -") ;;
        # Between moving the earlier log aside and putting the new file in place: the replacement
        # is recorded and the next run completes it.
        "$precedente -") [[ $sinistri == *.sostituzione* ]] ||
            fallisci $i "file di prima senza il suo log e senza sostituzione in corso" ;;
        *) fallisci $i "coppia mescolata: $stato" ;;
    esac
    if [[ $segnale != KILL && -n $sinistri && $rc -ne 0 ]]; then
        fallisci $i "dopo SIG$segnale restano $sinistri"
    fi
    # Another run into the folder (another file name) settles the hard kill's leftovers.
    "$cli" --archivio "$dir/A" genera professionisti --cartella "$dir/out" --file altro.txt \
        --sovrascrivi --aggiorna-conteggi > /dev/null || fallisci $i "la generazione successiva non riesce"
    dopo=$(coppia)
    [[ -z $(resti) ]] || fallisci $i "dopo la generazione successiva restano $(resti)"
    case "$dopo" in
        "$precedente $precedente" | "$nuovo $nuovo" | "$nuovo -") ;;
        *) fallisci $i "dopo la generazione successiva: $dopo" ;;
    esac
    if [[ $rc -eq 0 ]]; then esito="conclusa"; else esito="SIG$segnale"; fi
    if [[ ${dopo%% *} == "$nuovo" ]]; then esito+=", file nuovo"; else esito+=", file di prima"; fi
    [[ ${dopo#* } == - ]] && esito+=" senza log"
    [[ -n $sinistri ]] && esito+=", resti sgomberati dalla successiva"
    esiti[$esito]=$((${esiti[$esito]:-0} + 1))
    precedente=${dopo%% *}
done

# Two runs at once: the second waits, then gives up; the first's file is exact. The first is
# held still once it has the folder, however fast this machine is.
for prova in 1 2 3; do
    rm -rf "$dir/out"
    genera A > "$dir/primo.txt" 2>&1 &
    primo=$!
    until [[ -e $dir/out/.palio2015.lock ]]; do sleep 0.01; done
    kill -STOP $primo
    (genera B > "$dir/secondo.txt" 2>&1)
    rc2=$?
    kill -CONT $primo
    wait $primo
    rc1=$?
    [[ $rc1 -eq 0 && $rc2 -eq 1 ]] || fallisci "concorrenza $prova" "esiti $rc1 e $rc2"
    grep -q "^Un'altra generazione sta scrivendo nella cartella $dir/out.$" "$dir/secondo.txt" ||
        fallisci "concorrenza $prova" "messaggio: $(cat "$dir/secondo.txt")"
    cmp -s "$dir/out/ZF2015.txt" "$dir/attesoA.txt" || fallisci "concorrenza $prova" "file non esatto"
    [[ -z $(resti) ]] || fallisci "concorrenza $prova" "restano $(resti)"
done

echo "uccisioni: $uccisioni"
for e in "${!esiti[@]}"; do echo "  ${esiti[$e]}  $e"; done | sort -k2
echo "due generazioni insieme: 3 prove"
if ((falliti > 0)); then
    echo "FALLITE: $falliti verifiche"
    exit 1
fi
echo "tutte le verifiche superate"
