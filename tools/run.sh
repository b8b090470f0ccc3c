#!/usr/bin/env bash
# The README's run command: set up, build, and run the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target fenwir-cli
exec build/dev/bin/fenwir-cli decode res/demo-card.json
