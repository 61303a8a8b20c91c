#!/bin/sh
# Builds the Debian package into a folder of its own, checks its layout and
# metadata, and starts the program from the unpacked package on an empty home:
# the sign-in makes the database in the user's data folder. The machine's own
# installed files are not touched.
set -eu
build=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/cpack" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$work/cpack/lumoclavido_6.1.0-1_amd64.deb
test -s "$deb" || fail "no $deb"

dpkg-deb -c "$deb" | awk '{print $6}' > "$work/inhalt"
for f in usr/bin/Clavido6 usr/share/applications/lumoclavido.desktop \
    usr/share/metainfo/lumoclavido.metainfo.xml usr/share/man/man1/Clavido6.1.gz \
    usr/share/doc/lumoclavido/copyright usr/share/doc/lumoclavido/changelog.Debian.gz \
    usr/share/icons/hicolor/16x16/apps/lumoclavido.png \
    usr/share/icons/hicolor/256x256/apps/lumoclavido.png; do
    grep -qx "./$f" "$work/inhalt" || fail "missing /$f"
done
if grep -v -e '^\./$' -e '^\./usr/' "$work/inhalt"; then fail "files outside /usr"; fi
depends=$(dpkg-deb -f "$deb" Depends)
for d in libssl3 libmdb3 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n; do
    echo "$depends" | grep -q "$d" || fail "Depends lacks $d: $depends"
done
# A plain Debian 12 has no SQLCipher 4 and nothing of its backports: every
# package named is installed here in a version of the release itself.
if echo "$depends" | grep -Eq 'libsqlcipher|libsqlite3'; then fail "Depends on SQLite: $depends"; fi
for d in $(echo "$depends" | tr ',|' '\n\n' | awk '{print $1}'); do
    v=$(dpkg-query -W -f='${Version}' "$d" 2>/dev/null) && [ -n "$v" ] ||
        fail "Depends on $d, which is not installed here"
    case $v in *~bpo*) fail "Depends on $d $v from backports" ;; esac
done

dpkg-deb -x "$deb" "$work/root"
programm=$work/root/usr/bin/Clavido6
if ldd "$programm" | grep -Ei 'sqlcipher|sqlite'; then fail "SQLite as a shared library"; fi
if nm -D "$programm" | grep -w 'sqlite3_[a-z0-9_]*'; then fail "SQLite in the dynamic symbols"; fi
appstreamcli validate --no-net "$work/root/usr/share/metainfo/lumoclavido.metainfo.xml" > /dev/null
desktop-file-validate "$work/root/usr/share/applications/lumoclavido.desktop"
zcat "$work/root/usr/share/man/man1/Clavido6.1.gz" | grep -q '^\.TH CLAVIDO6 1'
if command -v lintian > /dev/null; then
    lintian --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian complains"; }
fi

mkdir "$work/home"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home" QT_QPA_PLATFORM=offscreen \
    "$programm" > "$work/programm.log" 2>&1 &
pid=$!
datei=$work/home/.local/share/lumoClavido/Clavido61.mdb
for _ in $(seq 150); do
    [ -s "$datei" ] && break
    kill -0 $pid 2>/dev/null || { cat "$work/programm.log"; fail "the program ended"; }
    sleep 0.2
done
[ -s "$datei" ] || { cat "$work/programm.log"; fail "no sign-in: $datei not made"; }
[ "$(stat -c %a "$datei")" = 600 ] || fail "database not private"
[ ! -e "$work/root/usr/bin/Clavido61.mdb" ] || fail "database beside the program"
tabellen=$(printf "PRAGMA key = 'kolm3815';\nSELECT name FROM sqlite_master;\n" |
    sqlcipher -batch -noheader "$datei" 2>&1)
[ "$tabellen" = "$(printf 'ok\nHaupt')" ] || fail "the sqlcipher tool reads: $tabellen"
echo ok
