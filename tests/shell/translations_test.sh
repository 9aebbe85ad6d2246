#!/bin/bash
# The committed English translation is complete: lupdate run over the sources finds no text
# without its English, and nothing that the .ts file would gain or lose.
# Usage: translations_test.sh LUPDATE SOURCE-DIR
set -euo pipefail
lupdate=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$source/translations/quorbin_en.ts" "$work/quorbin_en.ts"
mapfile -t sources < <(find "$source/src" -name '*.cpp' -o -name '*.h' | sort)
"$lupdate" -silent -I "$source/src" -locations none -no-obsolete "${sources[@]}" -ts "$work/quorbin_en.ts" >/dev/null 2>&1

status=0
if grep -q 'type="unfinished"' "$work/quorbin_en.ts"; then
    echo "Texts without an English translation:"
    grep -B2 'type="unfinished"' "$work/quorbin_en.ts" | grep '<source>' || true
    status=1
fi
if ! diff -u "$source/translations/quorbin_en.ts" "$work/quorbin_en.ts"; then
    echo "translations/quorbin_en.ts is not up to date: build the target update_translations and translate what it adds."
    status=1
fi
exit $status
