#!/usr/bin/env bash
# The README's test command: set up, build and run every test, the sanitizer
# build and a short run of each fuzzer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${FENWIR_FUZZ_SECONDS:-5}

tools/setup.sh

echo "== tests"
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev -j2

echo "== tests under AddressSanitizer and UBSan"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize -j2

echo "== fuzzers (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seeds in fuzz/corpus/*/; do
    name=$(basename "$seeds")
    mkdir -p "$work/$name"
    cp "$seeds"* "$work/$name/"
    build/fuzz/bin/fuzz_"$name" -max_total_time="$fuzz_seconds" -print_final_stats=0 \
        -artifact_prefix="$work/" "$work/$name" 2>"$work/$name.log" || {
        tail -n 40 "$work/$name.log"
        echo "fuzzer $name found a failure" >&2
        exit 1
    }
    echo "fuzz_$name: no failure"
done
