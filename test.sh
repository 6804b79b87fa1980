#!/usr/bin/env bash
# Builds Sweep with its tests (warnings are errors) and runs the whole suite under a "." locale
# and a "," locale.
# ./test.sh [--sanitize]   --sanitize: also build and test with AddressSanitizer + UBSan.
set -euo pipefail
SWEEP_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$SWEEP_ROOT/tools/deps.sh"
sweep_need_packages "${SWEEP_BUILD_PACKAGES[@]}" "${SWEEP_TEST_PACKAGES[@]}"

run_suite() {
    local dir=$1
    for loc in C.UTF-8 de_DE.UTF-8; do
        echo "== ctest in $dir under LANG=$loc"
        (cd "$dir" && LANG=$loc LC_ALL=$loc ctest --output-on-failure -j 2 --timeout 600)
    done
}

sweep_build "$SWEEP_ROOT/build-test" -DSWEEP_WERROR=ON
run_suite "$SWEEP_ROOT/build-test"
if [ "${1:-}" = "--sanitize" ]; then
    sweep_build "$SWEEP_ROOT/build-asan" -DSWEEP_WERROR=ON -DSWEEP_SANITIZE=ON -DSWEEP_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_suite "$SWEEP_ROOT/build-asan"
fi
