#!/bin/bash
# Builds the two libraries the Windows programs and tests need besides Qt, with the same MinGW
# toolchain, from Debian's own sources, into $PALIO_QT_WIN beside Qt: SQLite (its amalgamation,
# generated from Debian's sqlite3 source package) and GoogleTest (Debian's /usr/src/googletest).
# Each is built once; a marker file in the prefix says it is there.
set -euo pipefail
qui=$(cd "$(dirname "$0")/.." && pwd)
prefisso=${PALIO_QT_WIN:-/var/cache/palio2015/qt-6.4.2-mingw64}
sorgenti=$(dirname "$prefisso")/src
versione_sqlite=3.40.1
mkdir -p "$prefisso/include" "$prefisso/lib" "$sorgenti"

if [ ! -f "$prefisso/.sqlite-$versione_sqlite" ]; then
  cd "$sorgenti"
  if [ ! -d "sqlite3-$versione_sqlite" ]; then
    bash "$qui/scripts/deb-src.sh"
    ls sqlite3_"$versione_sqlite"*.dsc >/dev/null 2>&1 || apt-get source -q --download-only "sqlite3=$versione_sqlite-2+deb12u2" \
      || apt-get source -q --download-only sqlite3
    tar xf "sqlite3_$versione_sqlite.orig.tar.xz"
  fi
  # Debian ships SQLite's full source tree: the one-file amalgamation is generated on the host
  # (tclsh), then compiled for Windows.
  rm -rf build-sqlite && mkdir build-sqlite && cd build-sqlite
  "../sqlite3-$versione_sqlite/configure" --disable-tcl >/dev/null
  make -s sqlite3.c >/dev/null
  x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
    -c sqlite3.c -o sqlite3.o
  x86_64-w64-mingw32-ar rcs "$prefisso/lib/libsqlite3.a" sqlite3.o
  cp sqlite3.h sqlite3ext.h "$prefisso/include/"
  touch "$prefisso/.sqlite-$versione_sqlite"
  echo "SQLite $versione_sqlite per Windows in $prefisso"
fi

if [ ! -f "$prefisso/.googletest" ]; then
  cd "$sorgenti"
  rm -rf build-googletest
  cmake -S /usr/src/googletest -B build-googletest -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qui/cmake/mingw-w64-x86_64.cmake" -DPALIO_WIN_PREFIX="$prefisso" \
    -DCMAKE_INSTALL_PREFIX="$prefisso" -Dgtest_disable_pthreads=OFF >/dev/null
  ninja -C build-googletest >/dev/null
  ninja -C build-googletest install >/dev/null
  touch "$prefisso/.googletest"
  echo "GoogleTest per Windows in $prefisso"
fi
