#!/usr/bin/env bash
# Runs a Qt test program of the Windows build under Xvfb and Wine, on the Windows platform, with
# Qt's libraries and plugins from the Qt cache and MinGW's runtime libraries.
# Uso: qt.sh BUILD QT PROGRAMMA [ARGOMENTI...]   (QT: the Qt for Windows folder)
set -uo pipefail
if [ -z "${PALIO_XVFB:-}" ]; then
  PALIO_XVFB=1 exec timeout 600 xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
build=$1 qt=$2
shift 2
cartelle="Z:${qt//\//\\}\\bin"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  d=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")
  cartelle+=";Z:${d//\//\\}"
done
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=${WINEDEBUG:--all}
export WINEPATH=$cartelle QT_PLUGIN_PATH="Z:${qt//\//\\}\\plugins"
mkdir -p "$WINEPREFIX"
timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "Wine non si avvia"; exit 1; }
timeout 300 /usr/lib/wine/wine64 "$@"
esito=$?
timeout 60 /usr/lib/wine/wineserver -k >/dev/null 2>&1
exit $esito
