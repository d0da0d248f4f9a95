#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it:
#   cpack -G DEB; the package's file list (programs, default skin, desktop entry, AppStream
#   metainfo, icons, file types, manual pages, copyright, changelog); desktop-file-validate
#   on the entry; appstreamcli validate-tree (offline) on the metainfo with the entry;
#   update-mime-database on the file types; lintian (fails on any error).
# With --install (as root only): dpkg -i, `dezidu --version` from the PATH, the file types
# known to the MIME database; then apt-get remove and, after a second install, apt-get
# purge, each checked to leave none of the package's files or folders behind.
#
# Usage: scripts/package.sh BUILD_FOLDER [--install]
set -euo pipefail
die() { echo "package.sh: $*" >&2; exit 1; }
[ $# -ge 1 ] && [ $# -le 2 ] || die "usage: scripts/package.sh BUILD_FOLDER [--install]"
build=$(cd "$1" && pwd) || die "no build folder $1"
install=0
if [ $# -eq 2 ]; then
    [ "$2" = --install ] || die "unknown option $2"
    [ "$(id -u)" -eq 0 ] || die "--install needs root"
    # A dezidu installed before is the machine owner's: never replace or remove it.
    if dpkg-query -W -f='${Status}' dezidu 2>/dev/null | grep -q 'installed'; then
        die "--install: a dezidu package is already installed; remove it first"
    fi
    install=1
fi
[ -f "$build/CPackConfig.cmake" ] || die "$build is not a configured build folder"

cmake --build "$build" --target dezidu ptrender skincheck install-files
out=$build/package
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || die "cpack failed"
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no single .deb in $out"
deb=${debs[0]}
echo "== $deb"
dpkg-deb -f "$deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./|/|; s|/$||' | sort > "$tmp/list"
expect=(/usr/bin/dezidu /usr/bin/ptrender /usr/bin/skincheck
        /usr/share/applications/dezidu.desktop /usr/share/mime/packages/dezidu.xml
        /usr/share/metainfo/org.dezidu.dezidu.metainfo.xml
        /usr/share/icons/hicolor/scalable/apps/dezidu.svg
        /usr/share/doc/dezidu/copyright /usr/share/doc/dezidu/changelog.gz
        /usr/share/dezidu/skins/pxtone/MAIN.BMP /usr/share/dezidu/skins/pxtone/PLEDIT.TXT)
for n in 16 22 24 32 48 64 128 256; do
    expect+=("/usr/share/icons/hicolor/${n}x$n/apps/dezidu.png")
done
for m in dezidu ptrender skincheck; do expect+=("/usr/share/man/man1/$m.1.gz"); done
missing=0
for f in "${expect[@]}"; do
    grep -qxF "$f" "$tmp/list" || { echo "missing from the package: $f"; missing=1; }
done
[ $missing -eq 0 ] || die "files missing from the package"
echo "== dpkg-deb -c: $(wc -l < "$tmp/list") entries, the ${#expect[@]} expected files present"

dpkg-deb -x "$deb" "$tmp/root"
desktop-file-validate "$tmp/root/usr/share/applications/dezidu.desktop" ||
    die "desktop-file-validate failed"
echo "== desktop-file-validate: no message"
# The metainfo with the desktop entry it names, offline: any error or warning fails.
appstreamcli validate-tree --no-net --no-color "$tmp/root" || die "appstreamcli validate-tree failed"
echo "== appstreamcli validate-tree: valid"
mkdir -p "$tmp/mime/packages"
cp "$tmp/root/usr/share/mime/packages/dezidu.xml" "$tmp/mime/packages/"
mime_log=$(XDG_DATA_HOME=$tmp XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>&1) || die "update-mime-database: $mime_log"
[ -z "$mime_log" ] || die "update-mime-database: $mime_log"
for t in ptcop pttune ptlist; do
    grep -Eq "^50:application/x-$t:\*\.$t(:cs)?\$" "$tmp/mime/globs2" || die "no glob for .$t"
done
echo "== update-mime-database: the three file types read"

echo "== lintian"
lintian --fail-on error --display-info --tag-display-limit 0 "$deb" || die "lintian reports errors"
echo "lintian: no error"

[ $install -eq 1 ] || exit 0

# Package paths that exist before the install; every other one must be gone afterwards.
while read -r p; do [ -e "$p" ] && echo "$p"; done < "$tmp/list" > "$tmp/existed"
left_behind() {
    local left=0
    while read -r p; do
        grep -qxF "$p" "$tmp/existed" && continue
        if [ -e "$p" ] || [ -L "$p" ]; then echo "left behind: $p"; left=1; fi
    done < "$tmp/list"
    [ $left -eq 0 ]
}
install_and_check() {
    dpkg -i "$deb" >/dev/null || die "dpkg -i failed"
    local exe version
    exe=$(command -v dezidu) || die "dezidu is not on the PATH"
    [ "$exe" = /usr/bin/dezidu ] || die "dezidu on the PATH is $exe"
    version=$(dezidu --version) || die "dezidu --version failed"
    [ "$version" = "Dezidu $(dpkg-deb -f "$deb" Version)" ] || die "dezidu --version: $version"
    if command -v update-mime-database >/dev/null; then
        [ -f /usr/share/mime/application/x-ptcop.xml ] || die "the MIME database lacks x-ptcop"
    fi
    echo "installed: $exe prints '$version'"
}

install_and_check
apt-get remove -y dezidu >/dev/null || die "apt-get remove failed"
left_behind || die "apt-get remove left files behind"
[ ! -e /usr/share/mime/application/x-ptcop.xml ] || die "the MIME database keeps x-ptcop"
echo "apt-get remove: nothing left"
install_and_check
apt-get purge -y dezidu >/dev/null || die "apt-get purge failed"
left_behind || die "apt-get purge left files behind"
dpkg-query -W dezidu >/dev/null 2>&1 && die "dpkg still knows dezidu after the purge"
echo "apt-get purge: nothing left, the package is unknown to dpkg"
