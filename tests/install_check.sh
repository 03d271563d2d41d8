#!/bin/sh
# Installs the build into a scratch prefix and checks what a desktop needs: the program,
# the text table, a valid .desktop entry that handles .tex files, the icon and templates.
set -eu
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install check: $*" >&2; exit 1; }
[ -x "$prefix/bin/quireon" ] || fail "no executable"
[ -f "$prefix/share/quireon/translations/quireon_en.qm" ] || fail "no text table"
desktop="$prefix/share/applications/quireon.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -q '^MimeType=.*text/x-tex;' "$desktop" || fail "desktop entry does not declare text/x-tex"
[ -f "$prefix/share/icons/hicolor/scalable/apps/quireon.svg" ] || fail "no icon"
[ -f "$prefix/share/quireon/templates/report.tex" ] || fail "no templates"
man="$prefix/share/man/man1/quireon.1.gz"
[ -f "$man" ] || fail "no manual page"
warnings=$(gzip -dc "$man" | LC_ALL=C.UTF-8 groff -man -z -ww 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
lexgrog "$man" >/dev/null || fail "manual page has no NAME line for whatis"
metainfo="$prefix/share/metainfo/io.github.quireon.Quireon.metainfo.xml"
[ -f "$metainfo" ] || fail "no AppStream metainfo"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "metainfo does not validate"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$prefix/share/applications/$launchable" ] || fail "metainfo launches a desktop entry that is not installed"
echo "install check: ok"
