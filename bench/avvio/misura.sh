#!/usr/bin/env bash
# Start-up until the menu is usable (archive open, title written), on archives of N invented
# certificates (default 100,000 and 1,000,000): the program's own figures (--esci-dopo-avvio, from
# the process start to the end of the configuration step, and to the last window made after it)
# and the whole process measured from outside, five runs each, offscreen.
# Usage: bench/avvio/misura.sh BUILD_DIR [N...]
set -e
BUILD=${1:?cartella di build}
shift
[ $# -gt 0 ] || set -- 100000 1000000
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
cmake --build "$BUILD" --target palio_genera_archivio palio2015 -j2 >/dev/null
export XDG_CONFIG_HOME="$DIR/cfg"
for N in "$@"; do
    mkdir -p "$DIR/$N"
    "$BUILD/bench/palio_genera_archivio" "$DIR/$N" "$N" >/dev/null
    printf '%s\n' "$DIR/$N" >"$DIR/$N.ini"
    echo "$N certificati ($(du -m "$DIR/$N/Zefo2015.db" | cut -f1) MB):"
    for _ in 1 2 3 4 5; do
        inizio=$(date +%s%N)
        QT_QPA_PLATFORM=offscreen "$BUILD/palio2015" --configurazione "$DIR/$N.ini" --esci-dopo-avvio 2>"$DIR/err"
        fine=$(date +%s%N)
        echo "  $(grep -o 'menu pronto in [0-9]* ms' "$DIR/err"); $(grep -o 'finestre pronte in [0-9]* ms' "$DIR/err"); processo intero $(((fine - inizio) / 1000000)) ms"
    done
    rm -rf "${DIR:?}/$N"
done
