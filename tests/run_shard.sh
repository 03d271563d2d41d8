#!/bin/sh
# Runs every Nth test case (a test function, or one data row of one) of a QtTest program,
# starting at the Kth, so that a long program can be spread over CTest tests that run side
# by side; 1 1 runs them all. Cases are dealt in the order the program lists them.
# The program gets a runtime folder of its own, where Quireon keeps its single-instance
# socket: private, and short, as a socket's path must be.
#   run_shard.sh <program> <K> <N>
set -eu
program=$1 k=$2 n=$3
runtime=$(mktemp -d "${TMPDIR:-/tmp}/quireon-test.XXXXXX")
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
if [ "$n" -eq 1 ]; then
    "$program"
    exit
fi
cases=$("$program" -datatags | awk -v k="$k" -v n="$n" '
    (NR - 1) % n == k - 1 {
        line = $0
        sub(/^[^ ]+ /, "", line)         # the class name
        space = index(line, " ")
        print space ? substr(line, 1, space - 1) ":" substr(line, space + 1) : line
    }')
set --
while IFS= read -r case; do
    [ -n "$case" ] && set -- "$@" "$case"
done <<END
$cases
END
if [ $# -eq 0 ]; then
    echo "run_shard.sh: no test case falls in shard $k of $n" >&2
    exit 1
fi
"$program" "$@"
