#!/bin/sh
# make clean removes the build output, but never a database file in it.
set -eu
quelle=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build/bin" "$work/build/src/CMakeFiles"
touch "$work/build/CMakeCache.txt" "$work/build/bin/Clavido6" "$work/build/src/CMakeFiles/a.o"
echo daten > "$work/build/bin/Clavido61.mdb"
ausgabe=$(make -s -C "$quelle" clean BUILD="$work/build")
[ "$(cat "$work/build/bin/Clavido61.mdb")" = daten ] || { echo "database gone" >&2; exit 1; }
[ -z "$(find "$work/build" ! -type d ! -name Clavido61.mdb)" ] || { echo "output left" >&2; exit 1; }
echo "$ausgabe" | grep -q "bin/Clavido61.mdb" || { echo "not said: $ausgabe" >&2; exit 1; }
# Without a database the folder goes.
rm "$work/build/bin/Clavido61.mdb"
make -s -C "$quelle" clean BUILD="$work/build"
[ ! -e "$work/build" ] || { echo "build folder left" >&2; exit 1; }
echo ok
