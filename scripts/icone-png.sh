#!/bin/bash
# Renders the button pictures of ui/icone/*.svg into the PNG files the program is built with
# (ui/icone/png/NOME-LATO.png), at the sizes the windows show them and twice those for
# high-density screens. Run after changing an SVG and commit the PNG files: the program reads
# PNG only, so it needs no SVG module of Qt on any system. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../ui/icone"
mkdir -p png
rm -f png/*.png
for svg in *.svg; do
  for lato in 14 24 28 48 56; do
    rsvg-convert -w "$lato" -h "$lato" -o "png/${svg%.svg}-$lato.png" "$svg"
  done
done
