# Sourced by the benchmarks that run over a generated archive: after
#   . bench/archivio_generato.sh BUILD N
# $dir is a temporary folder removed on exit, $dir/archivio an archive of N generated
# certificates, $db its file, and secondi CMD… prints the elapsed seconds, the processor seconds
# (user + system: on a machine shared with other work the steadier figure) and the peak memory
# in KiB of CMD.
build=$1
n=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/palio_genera_archivio" "$dir/archivio" "$n" > /dev/null
db="$dir/archivio/Zefo2015.db"
secondi() { /usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1, $2 + $3, $4 }'; }
