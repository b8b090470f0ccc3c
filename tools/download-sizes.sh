#!/usr/bin/env bash
# Prints the size of each download (installer, package, zip) in MiB; with
# --max-mib N, fails when one is larger than N MiB.
#
#   tools/download-sizes.sh [--max-mib N] FILE...
set -euo pipefail
max=
if [ "${1:-}" = --max-mib ]; then
    max=$2
    shift 2
fi
status=0
for file in "$@"; do
    bytes=$(stat -c %s "$file")
    mib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')
    if [ -n "$max" ] && [ "$bytes" -gt $((max * 1048576)) ]; then
        echo "size: $(basename "$file") is $mib MiB, more than $max MiB" >&2
        status=1
    else
        echo "size: $(basename "$file") $mib MiB${max:+ (at most $max MiB)}"
    fi
done
exit $status
