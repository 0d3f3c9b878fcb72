#!/bin/bash
# The Windows build, cross-compiled here with Debian's MinGW-w64 and tested under Wine: installs
# the packages, builds Qt for Windows into its cache when missing (scripts/qt-windows.sh, about an
# hour on two busy cores), SQLite and GoogleTest beside it (scripts/windows-librerie.sh, a few
# minutes), then from the same sources and CMake files:
# - build-windows-core/: the core, palio2015-cli.exe and its installer; the core tests, the golden
#   comparison and the installer test under Wine (ctest);
# - build-windows/: palio2015.exe and palio2015-cli.exe with Qt, and build-windows/Palio2015-Setup.exe
#   with Qt's libraries, plugins and Italian texts; the boxes' fonts on the Windows platform, its
#   installer test and the window test.
set -euo pipefail
qui=$(cd "$(dirname "$0")/.." && pwd)
cd "$qui"
export PALIO_QT_WIN=${PALIO_QT_WIN:-/var/cache/palio2015/qt-6.4.2-mingw64}

bash scripts/dipendenze.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis ninja-build cmake tcl sqlite3 \
  qt6-translations-l10n xvfb xauth xdotool imagemagick

inizio=$(date +%s)
bash scripts/qt-windows.sh
bash scripts/windows-librerie.sh

# A throw-away Wine prefix of this build: nothing of the user's own is read or written. The
# installer and window tests make prefixes of their own.
export WINEPREFIX=${WINEPREFIX:-$qui/build-windows-core/wine}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
fine_wine() { timeout 60 /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; }
trap fine_wine EXIT
mkdir -p "$WINEPREFIX"
timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "Wine non si avvia (wineboot)"; exit 1; }

comuni=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
        -DPALIO_BENCH=OFF -DPALIO_WERROR=ON -DPALIO_POSTGRES=ON)
# The programs load libpq.dll from the prefix when a server archive is first used (the installer
# puts it beside them).
WINEPATH="Z:$(printf '%s' "$PALIO_QT_WIN/bin" | tr / '\\')"
export WINEPATH
cmake -S . -B build-windows-core "${comuni[@]}" -DPALIO_GUI=OFF >/dev/null
nice ninja -C build-windows-core all installatore
# The archive tests run on both engines, the server's against a throw-away server on this machine.
timeout 1500 bash scripts/postgres-prova.sh ctest --test-dir build-windows-core -j2 --timeout 900 --output-on-failure
echo "Windows: programmi e test del nucleo conclusi in $(( ($(date +%s) - inizio) / 60 )) minuti (build-windows-core/palio2015-cli.exe)"

# The desktop program and its installer: only the programs, the fonts' test and the installer are
# built here (the core tests ran above), then the fonts' test, the installer's and the window test.
if [ "${PALIO_WIN_FINESTRE:-1}" = 1 ]; then
  cmake -S . -B build-windows "${comuni[@]}" -DPALIO_GUI=ON >/dev/null
  nice ninja -C build-windows palio2015 palio2015-cli caratteri_tests installatore
  timeout 900 ctest --test-dir build-windows -R '^windows\.' --timeout 600 --output-on-failure
  echo "Windows: build-windows/Palio2015-Setup.exe pronto in $(( ($(date +%s) - inizio) / 60 )) minuti"
else
  echo "Windows: programma a finestre e suo installatore saltati (PALIO_WIN_FINESTRE=0)"
fi
