#!/usr/bin/env bash
# Start-up until the menu is usable (archive open, title written), on archives of N invented
# certificates (default 100,000 and 1,000,000), RUNS runs each (default 7), offscreen. For each
# run: from the process start (the libraries' loading included) to the menu, measured from outside;
# the program's own figure from its main function (--esci-dopo-avvio); the processor time spent
# until the menu; when the last window is made; the whole process. Then the median and the
# maximum of the first two, and the machine's load.
# Usage: bench/avvio/misura.sh BUILD_DIR [N...]   (RUNS=n in the environment for more runs)
set -e
BUILD=${1:?cartella di build}
shift
[ $# -gt 0 ] || set -- 100000 1000000
RUNS=${RUNS:-7}
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
cmake --build "$BUILD" --target palio_genera_archivio palio2015 -j2 >/dev/null
export XDG_CONFIG_HOME="$DIR/cfg"
ms() { local t=${1/./}; echo $((10#$t / 1000)); }   # $EPOCHREALTIME (no fork) in ms
mediana_max() { sort -n | awk '{ v[NR] = $1 } END { printf "mediana %d ms, massimo %d ms", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'; }
for N in "$@"; do
    mkdir -p "$DIR/$N"
    "$BUILD/bench/palio_genera_archivio" "$DIR/$N" "$N" >/dev/null
    printf '%s\n' "$DIR/$N" >"$DIR/$N.ini"
    echo "$N certificati ($(du -m "$DIR/$N/Zefo2015.db" | cut -f1) MB), carico: $(cut -d' ' -f1-3 /proc/loadavg)"
    : >"$DIR/esterno"; : >"$DIR/interno"
    for _ in $(seq "$RUNS"); do
        inizio=$(ms "$EPOCHREALTIME")
        QT_QPA_PLATFORM=offscreen "$BUILD/palio2015" --configurazione "$DIR/$N.ini" --esci-dopo-avvio 2>"$DIR/err"
        fine=$(ms "$EPOCHREALTIME")
        riga=$(grep -o 'menu pronto in .*' "$DIR/err")
        interno=$(sed -E 's/menu pronto in ([0-9]+) ms.*/\1/' <<<"$riga")
        pronto=$(sed -E 's/.*alle ([0-9]+) ms.*/\1/' <<<"$riga")
        processore=$(sed -nE 's/.*processore ([0-9]+) ms.*/\1/p' <<<"$riga")
        echo "$((pronto - inizio))" >>"$DIR/esterno"
        echo "$interno" >>"$DIR/interno"
        echo "  menu pronto $((pronto - inizio)) ms dall'avvio del processo ($interno ms da main, processore ${processore:-?} ms);" \
             "$(grep -o 'finestre pronte in [0-9]* ms' "$DIR/err"); processo intero $((fine - inizio)) ms"
    done
    echo "  dall'avvio del processo: $(mediana_max <"$DIR/esterno"); da main: $(mediana_max <"$DIR/interno"); carico: $(cut -d' ' -f1-3 /proc/loadavg)"
    rm -rf "${DIR:?}/$N"
done
