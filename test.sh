#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh             build in build/ and run the suite
#   ./test.sh --sanitize  build in build-sanitize/ with AddressSanitizer and
#                         UndefinedBehaviorSanitizer (leak checks on) and run the suite
# Without --sanitize the fuzz targets are built afterwards in build-fuzz/ (clang,
# libFuzzer) and each fuzzes for a short, bounded time.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
quireon_install_packages

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DQUIREON_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++)
fi

cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" -j"$(nproc)"
# Most tests wait on tools and file events rather than compute, so twice as many run as
# there are cores; under the sanitizers, which slow every test down, one per core.
jobs=$(( $(nproc) * 2 ))
[ "$build" = build ] || jobs=$(nproc)
ctest --test-dir "$build" --output-on-failure -j"$jobs"

if [ "$build" = build ]; then
    cmake -S . -B build-fuzz -G Ninja -DQUIREON_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build-fuzz -j"$(nproc)"
    ctest --test-dir build-fuzz --output-on-failure -j"$(nproc)"
fi
