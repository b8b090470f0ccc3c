#!/usr/bin/env bash
# The README's run command: set up, build, and start Fenwir Lite.
#
#   tools/run.sh             the desktop program
#   tools/run.sh --demo      the desktop program with the simulated reader
#                            playing the demo card (Ctrl+R works without a
#                            reader)
#   tools/run.sh --headless  the main job without a display: the demo card is
#                            read into a new claim, saved (.ent), exported
#                            (CSV) and rendered (PDF) under build/demo/
#
# Without a display, the first two say so and run the headless main job.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
    ""|--demo|--headless) ;;
    *) echo "usage: tools/run.sh [--demo|--headless]" >&2; exit 2 ;;
esac
tools/setup.sh
cmake --preset dev >/dev/null
bin=build/dev/bin
if [ "$mode" != "--headless" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display here (DISPLAY is not set); running the headless main job instead."
    mode=--headless
fi
case "$mode" in
    --headless)
        cmake --build --preset dev --target fenwir-cli station_db default_layout \
            fenwir-felica-sim print_fonts
        exec "$bin/fenwir-cli" demo --out build/demo
        ;;
    --demo)
        cmake --build --preset dev --target fenwir station_db default_layout \
            fenwir-felica-sim print_fonts
        exec "$bin/fenwir" --reader demo
        ;;
    *)
        cmake --build --preset dev --target fenwir station_db default_layout print_fonts
        exec "$bin/fenwir"
        ;;
esac
