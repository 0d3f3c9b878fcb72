#!/bin/bash
# Builds Qt 6.4.2 (qtbase) for 64-bit Windows from Debian's own source packages, once,
# into a cache folder outside the repository: $PALIO_QT_WIN, default /var/cache/palio2015/qt-6.4.2-mingw64.
set -euo pipefail
qui=$(cd "$(dirname "$0")/.." && pwd)
prefisso=${PALIO_QT_WIN:-/var/cache/palio2015/qt-6.4.2-mingw64}
sorgenti=$(dirname "$prefisso")/src
if [ -f "$prefisso/.completo" ]; then echo "Qt per Windows già pronto in $prefisso"; exit 0; fi

bash "$qui/scripts/deb-src.sh"
mkdir -p "$sorgenti"
cd "$sorgenti"
[ -d qt6-base-6.4.2+dfsg ] || apt-get source -q qt6-base=6.4.2+dfsg-10

inizio=$(date +%s)
comuni=(-G Ninja -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_TOOLCHAIN_FILE="$qui/cmake/mingw-w64-x86_64.cmake" -DPALIO_WIN_PREFIX="$prefisso"
  -DCMAKE_INSTALL_PREFIX="$prefisso" -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
# Traps met: Debian's source leaves out src/3rdparty/wintab (tablet events off); the Windows
# platform plugin needs OpenGL on; the system_* libraries do not exist for MinGW here.
# A build stopped half-way (a kill, a reboot) goes on where it stopped.
if [ -f build-base/build.ninja ]; then cd build-base; else
rm -rf build-base && mkdir build-base && cd build-base
nice -n 10 cmake ../qt6-base-6.4.2+dfsg "${comuni[@]}" -DBUILD_SHARED_LIBS=ON \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_opengl=ON -DFEATURE_opengl_desktop=ON \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF -DFEATURE_sql_sqlite=OFF
fi
nice -n 10 ninja -j2
ninja install
touch "$prefisso/.completo"
echo "Qt per Windows costruito in $(( ($(date +%s) - inizio) / 60 )) minuti in $prefisso"
