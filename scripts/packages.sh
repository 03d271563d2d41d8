# Debian 12 packages that building, testing and running Quireon need, and a function
# that installs the missing ones. Sourced by run.sh and test.sh.

QUIREON_PACKAGES=(
    # build
    cmake ninja-build g++ pkg-config
    # faster rebuilds: a compiler cache and a faster linker
    ccache lld
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgl-dev libxkbcommon-dev
    # running on a desktop (X11 platform plugin, icons, opening files)
    qt6-qpa-plugins libqt6svg6 xdg-utils desktop-file-utils
    # the default tool set: pdflatex, latex, bibtex, makeindex, dvipdfmx
    texlive-latex-base texlive-binaries
    # the tools the automatic steps call: glossaries (makeglossaries), nomencl and
    # splitindex; biblatex with Biber; XeLaTeX for roots that name it; and pdftotext, with
    # which the end-to-end tests read the documents they make
    texlive-latex-extra texlive-bibtex-extra biber texlive-xetex poppler-utils
    # desktop notices are tested against a private session bus (dbus-run-session)
    dbus
    # install and package checks: manual page, AppStream metadata, Debian package
    groff-base man-db appstream dpkg-dev file lintian
    # fuzzing and sanitizer runtimes
    clang libclang-rt-14-dev
)

quireon_missing_packages() {
    local pkg
    for pkg in "${QUIREON_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$pkg"
        fi
    done
}

quireon_install_packages() {
    local missing
    mapfile -t missing < <(quireon_missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "Installing missing Debian packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
