#!/bin/sh
# Builds the Debian package from the build tree and checks what apt and a desktop see:
# its name, its dependencies, that everything lands under /usr with the desktop entry,
# manual page and metainfo, and what lintian says.
set -eu
build="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.txt" 2>&1) || { cat "$out/cpack.txt" >&2; fail "cpack failed"; }
set -- "$out"/quireon_*_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "no quireon_<version>_<arch>.deb"
deb="$1"

[ "$(dpkg-deb -f "$deb" Package)" = quireon ] || fail "wrong package name"
depends=$(dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',|' '\n\n' | sed 's/(.*//')
for dep in texlive-latex-base texlive-binaries xdg-utils qt6-qpa-plugins libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
    echo "$depends" | grep -qx "$dep" || fail "Depends lacks $dep"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/quireon ./usr/share/applications/quireon.desktop \
            ./usr/share/man/man1/quireon.1.gz ./usr/share/metainfo/io.github.quireon.Quireon.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/quireon.svg ./usr/share/quireon/templates/report.tex; do
    echo "$contents" | grep -qx "$path" || fail "the package lacks $path"
done
if echo "$contents" | grep -v -e '^\./usr/' -e '^\./$'; then fail "files outside /usr"; fi

if command -v lintian >/dev/null; then
    lintian --fail-on error --suppress-tags "$(cat "$(dirname "$0")/lintian-accepted.txt" | grep -v '^#' | paste -sd,)" "$deb" \
        || fail "lintian reports errors"
fi
echo "package check: ok"
