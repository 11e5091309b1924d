#!/usr/bin/env bash
# Runs every area's benchmarks: each bench/<area>/run.sh, given the build folder.
set -euo pipefail
build=$(realpath "${1:?usage: bench/run.sh BUILD_DIR}")
here=$(dirname "$(realpath "$0")")
status=0
for script in "$here"/*/run.sh; do
    [[ -x $script ]] || continue
    echo "== $(basename "$(dirname "$script")")"
    "$script" "$build" || status=1
done
exit $status
