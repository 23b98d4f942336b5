#!/usr/bin/env bash
# Fails when a translation is unfinished: an entry of a .ts file without its translation, or a
# text of the code that the .ts file lacks (lupdate run on a copy finds it new).
# Run in the source folder. Arguments: lupdate, its options and the folders holding texts (each
# ";"-separated), the .ts files.
set -euo pipefail
lupdate="$1"
IFS=';' read -r -a options <<<"$2"
IFS=';' read -r -a folders <<<"$3"
shift 3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$@"; do
    name="$(basename "$ts")"
    if grep -q 'type="unfinished"\|type="vanished"\|type="obsolete"' "$ts"; then
        echo "$name: entries without a finished translation:" >&2
        grep -B3 'type="unfinished"\|type="vanished"\|type="obsolete"' "$ts" | grep '<source>' >&2
        status=1
    fi
    cp "$ts" "$work/$name"
    "$lupdate" -silent "${options[@]}" "${folders[@]}" -ts "$work/$name"
    if [ "$(grep -c 'type="unfinished"' "$work/$name")" -gt "$(grep -c 'type="unfinished"' "$ts")" ]; then
        echo "$name: texts of the code that have no entry (run the target vardo_lupdate):" >&2
        diff <(grep '<source>' "$ts") <(grep '<source>' "$work/$name") | grep '^>' >&2 || true
        status=1
    fi
    if grep -q 'type="vanished"\|type="obsolete"' "$work/$name"; then
        echo "$name: translations of texts the code no longer has (run the target vardo_lupdate)" >&2
        status=1
    fi
done
exit "$status"
