#!/usr/bin/env bash
# Installs what is missing, builds Quireon and opens FILE.tex (or the bundled sample).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
quireon_install_packages

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ "$#" -eq 0 ]; then
    set -- "$PWD/examples/sample/sample.tex"
fi
exec build/src/quireon "$@"
