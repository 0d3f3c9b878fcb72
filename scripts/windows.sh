#!/bin/bash
# The Windows build, cross-compiled here with Debian's MinGW-w64 and tested under Wine: installs
# the packages, builds Qt for Windows into its cache when missing (scripts/qt-windows.sh, about an
# hour on two busy cores), SQLite and GoogleTest beside it (scripts/windows-librerie.sh, a few
# minutes), then the core and palio2015-cli.exe from the same sources and CMake files, and runs
# the core tests and the golden comparison under Wine.
set -euo pipefail
qui=$(cd "$(dirname "$0")/.." && pwd)
cd "$qui"
export PALIO_QT_WIN=${PALIO_QT_WIN:-/var/cache/palio2015/qt-6.4.2-mingw64}

bash scripts/dipendenze.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis ninja-build cmake tcl sqlite3 \
  xvfb xdotool

inizio=$(date +%s)
bash scripts/qt-windows.sh
bash scripts/windows-librerie.sh

# A throw-away Wine prefix of this build: nothing of the user's own is read or written.
export WINEPREFIX=${WINEPREFIX:-$qui/build-windows-core/wine}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "Wine non si avvia (wineboot)"; exit 1; }

cmake -S . -B build-windows-core -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPALIO_GUI=OFF -DPALIO_BENCH=OFF -DPALIO_WERROR=ON
nice ninja -C build-windows-core
timeout 1500 ctest --test-dir build-windows-core -j2 --timeout 900 --output-on-failure
timeout 120 /usr/lib/wine/wine64 wineserver -k 2>/dev/null || true
echo "Windows: programmi e test del nucleo conclusi in $(( ($(date +%s) - inizio) / 60 )) minuti (build-windows-core/palio2015-cli.exe)"
