#!/usr/bin/env bash
# The README's test command: set up, build and run every test, the Windows
# build under Wine (where Qt for MinGW is at hand), the sanitizer build and a
# short run of each fuzzer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds=${FENWIR_FUZZ_SECONDS:-5}

tools/setup.sh
# Compiles go through ccache when it is there, shared by every clone.
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER-ccache}
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0

# Runs ctest for a preset and counts what passed.
run_ctest() {
    ctest --preset "$1" -j2 2>&1 | tee "$work/ctest-$1.log"
    local total
    total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$work/ctest-$1.log")
    passed=$((passed + ${total:-0}))
}

echo "== tests"
cmake --preset dev >/dev/null
cmake --build --preset dev
run_ctest dev

echo "== desktop files and the Debian package"
tools/package-test.sh build/dev
passed=$((passed + 1))

echo "== Windows: cross build, installer, tests under Wine"
tools/windows/test.sh --host-tools build/dev/bin 2>&1 | tee "$work/windows.log"
windows=$(sed -n 's/^windows: \([0-9]*\) passed, 0 failed$/\1/p' "$work/windows.log")
passed=$((passed + ${windows:-0}))

echo "== tests under AddressSanitizer and UBSan"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
run_ctest sanitize

echo "== fuzzers (${fuzz_seconds}s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
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
    passed=$((passed + 1))
done

echo "$passed passed, 0 failed"
