#!/usr/bin/env bash
# Adds deb-src to the suites apt already uses, so that `apt-get source` takes the sources of the
# Windows build's libraries from the same Debian archive; updates the lists when it added any.
set -euo pipefail
aggiunto=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  grep -q '^Types:.*deb-src' "$f" || { sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; aggiunto=1; }
done
if [ -n "$aggiunto" ] || ! apt-get source --print-uris -q sqlite3 >/dev/null 2>&1; then apt-get update -qq; fi
