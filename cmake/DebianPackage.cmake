# `cpack -G DEB` in the build folder makes quireon_<version>_<arch>.deb, installed under /usr.
# Library dependencies come from dpkg-shlibdeps; the tools of the default command table,
# the Qt platform and icon plug-ins and the desktop opener are named here, as the
# executable does not link them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quireon)
set(CPACK_PACKAGE_VENDOR "Quireon")
set(CPACK_PACKAGE_CONTACT "Quireon developers <quireon@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front end that runs TeX and LaTeX tools and watches the log")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION tex)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "texlive-latex-base, texlive-binaries, xdg-utils, qt6-qpa-plugins, libqt6svg6")
# The summary line comes first; CPack indents these lines below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quireon opens a root .tex file in a window that runs configurable
tool commands (pdfLaTeX, BibTeX, MakeIndex, LaTeX and dvipdfmx by
default), shows their output in a log whose errors, warnings and notes
are coloured and counted, and opens the outputs with the desktop's
viewers. In auto mode it reruns a procedure whenever the root file is
saved, from any editor. quireon --batch runs the same procedure
without a window, for Makefiles and continuous integration.")
include(CPack)
