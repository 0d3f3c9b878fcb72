#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need (Debian 12);
# librsvg2-bin renders the button pictures (scripts/icone-png.sh); postgresql runs the throw-away
# server of the tests (scripts/postgres-prova.sh), libpq-dev is the client library of server archives;
# clang-format checks the layout of the sources (scripts/formato.sh).
set -euo pipefail
pacchetti=(build-essential cmake ccache pkg-config qt6-base-dev qt6-translations-l10n libsqlite3-dev sqlite3 libssl-dev
           librsvg2-bin libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick poppler-utils
           fonts-liberation time clang libclang-rt-14-dev clang-format postgresql libpq-dev)
# Given packages as arguments, it installs those instead (the Windows build: scripts/windows.sh).
[ $# -gt 0 ] && pacchetti=("$@")
mancanti=()
for p in "${pacchetti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${mancanti[@]}"
fi
