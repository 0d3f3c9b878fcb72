#!/bin/bash
# Checks that every C++ file of the tree is laid out by .clang-format; with --applica, lays them out.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t file < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --applica ]; then
    clang-format -i "${file[@]}"
else
    clang-format --dry-run --Werror "${file[@]}"
    echo "formato: ${#file[@]} file conformi a .clang-format"
fi
