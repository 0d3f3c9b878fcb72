#!/bin/bash
# Builds the three libraries the Windows programs and tests need besides Qt, with the same MinGW
# toolchain, from Debian's own sources, into $PALIO_QT_WIN beside Qt: SQLite (its amalgamation,
# generated from Debian's sqlite3 source package), GoogleTest (Debian's /usr/src/googletest) and
# libpq (Debian's postgresql-15 source package). Each is built once; a marker file in the prefix
# says it is there.
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

# libpq, the client of server archives, from Debian's postgresql-15 source package (the version of
# the host's libpq5): only what the library needs is built, without TLS, Kerberos or LDAP. The
# programs load libpq.dll when a server archive is first used, as they load libpq.so on Debian.
versione_pg=$(dpkg-query -W -f='${Version}' libpq5 2>/dev/null || true)
versione_pg=${versione_pg:-15.18-0+deb12u1}
if [ ! -f "$prefisso/.libpq-$versione_pg" ]; then
  cd "$sorgenti"
  base=${versione_pg%%-*}
  if [ ! -d "postgresql-$base" ]; then
    bash "$qui/scripts/deb-src.sh"
    ls postgresql-15_"$versione_pg".dsc >/dev/null 2>&1 || apt-get source -q --download-only "postgresql-15=$versione_pg"
    tar xjf "postgresql-15_$base.orig.tar.bz2"
  fi
  rm -rf build-libpq && mkdir build-libpq && cd build-libpq
  "../postgresql-$base/configure" --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --without-readline \
    --without-zlib --without-icu --without-openssl --without-ldap --without-gssapi --disable-nls >/dev/null
  make -s -C src/interfaces/libpq -j"$(nproc)" >/dev/null
  mkdir -p "$prefisso/bin" "$prefisso/include/libpq"
  cp src/interfaces/libpq/libpq.dll "$prefisso/bin/"
  cp "../postgresql-$base/src/interfaces/libpq/libpq-fe.h" "../postgresql-$base/src/include/postgres_ext.h" \
    src/include/pg_config_ext.h "$prefisso/include/libpq/"
  touch "$prefisso/.libpq-$versione_pg"
  echo "libpq $versione_pg per Windows in $prefisso"
fi
