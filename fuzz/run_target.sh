#!/bin/sh
# Runs one fuzz target for a bounded time on a fresh copy of its seed corpus, so the
# source tree never changes. A crash or a broken property leaves its input in
# <work>/artifacts/ and fails the run.
#   run_target.sh <target> <seed corpus> <work folder> <seconds>
set -eu
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$seeds"/* "$work/corpus/"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus"
