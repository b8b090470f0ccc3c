#!/usr/bin/env bash
# The README's run command: set up, build, and run the main job.
#
# Until the desktop program exists, the main job runs headlessly on every
# machine (--headless asks for that explicitly): the demo card is read through
# the simulated reader into a new claim, which is saved (.ent), exported (CSV)
# and rendered (PDF) under build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
    ""|--headless) ;;
    *) echo "usage: tools/run.sh [--headless]" >&2; exit 2 ;;
esac
tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target fenwir-cli demo_stations default_layout fenwir-felica-sim
exec build/dev/bin/fenwir-cli demo --station-db build/dev/bin/demo-stations.sqlite --out build/demo
