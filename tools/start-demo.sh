#!/usr/bin/env bash
# start-demo.sh BIN_DIR [--real | --fresh]: starts sweep from BIN_DIR.
# Without --real it runs on the simulated parallel-port board (a bandpass filter as the device
# under test) with its own configuration file, created on first use; the window's state (range,
# markers, scale, view) is kept between runs. --fresh starts again from the demo configuration.
# Press "Sweep ON" to see the table and the curve fill.
set -euo pipefail
source "$(dirname "$0")/demo-hardware.sh"
bin=$1
shift
if [ "${1:-}" = "--real" ]; then
    exec "$bin/sweep"
fi
demo_dir="${XDG_CONFIG_HOME:-$HOME/.config}/orvane/demo"
mkdir -p "$demo_dir"
if [ "${1:-}" = "--fresh" ]; then
    rm -f "$demo_dir/Sweep.ini"
fi
if [ ! -f "$demo_dir/Sweep.ini" ]; then
    {
        sweep_demo_hardware
        cat <<'INI'
[Sweep Generator]
Start=1000000
Stop=10000000
Max scaleV=1.5
INI
    } > "$demo_dir/Sweep.ini"
fi
exec "$bin/sweep" --config "$demo_dir/Sweep.ini"
