#!/bin/sh
# Installs the build into a fresh prefix and checks what a desktop finds there.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/Clavido6"
desktop-file-validate "$prefix/share/applications/lumoclavido.desktop"
for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/lumoclavido.png"
    test -s "$icon" || { echo "missing $icon" >&2; exit 1; }
done
echo ok
