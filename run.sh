#!/usr/bin/env bash
# Builds Sweep if needed and starts it on the simulated parallel-port board.
# ./run.sh [--real | --fresh] [--dut NAME]: see tools/start-demo.sh.
set -euo pipefail
SWEEP_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$SWEEP_ROOT/tools/deps.sh"
sweep_need_packages "${SWEEP_BUILD_PACKAGES[@]}"
# Warnings stay warnings here, so a newer compiler still builds the program.
sweep_build "$SWEEP_ROOT/build" -DSWEEP_WERROR=OFF -DSWEEP_BUILD_TESTS=OFF -DSWEEP_BUILD_BENCH=OFF
exec "$SWEEP_ROOT/tools/start-demo.sh" "$SWEEP_ROOT/build/bin" "$@"
