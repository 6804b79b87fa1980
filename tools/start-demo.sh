#!/usr/bin/env bash
# start-demo.sh BIN_DIR [--real | --fresh] [--dut NAME]: starts sweep from BIN_DIR.
# Without --real it runs on the simulated parallel-port board (a bandpass filter as the device
# under test) with its own configuration file, created on first use; the window's state (range,
# markers, scale, view) is kept between runs. --fresh starts again from the demo configuration.
# --dut NAME puts another device under test on the board from now on ("tarvex --help" lists
# them: through, lowpass, notch, ...), as the set-up dialog's Ports page does.
# Press "Sweep ON" to see the table and the curve fill.
set -euo pipefail
source "$(dirname "$0")/demo-hardware.sh"
bin=$1
shift
real=0
fresh=0
dut=
while [ $# -gt 0 ]; do
    case $1 in
    --real) real=1 ;;
    --fresh) fresh=1 ;;
    --dut)
        [ $# -ge 2 ] || { echo "start-demo.sh: --dut needs a name" >&2; exit 2; }
        dut=$2
        shift
        ;;
    --dut=*) dut=${1#--dut=} ;;
    *)
        echo "start-demo.sh: unknown option $1 (use --real, --fresh or --dut NAME)" >&2
        exit 2
        ;;
    esac
    shift
done
if [ "$real" = 1 ]; then
    exec "$bin/sweep"
fi
# tarvex knows the devices under test; a wrong name gets its list.
if [ -n "$dut" ] && ! "$bin/tarvex" --sim-dut "$dut" --help >/dev/null; then
    exit 2
fi
demo_dir="${XDG_CONFIG_HOME:-$HOME/.config}/orvane/demo"
mkdir -p "$demo_dir"
ini="$demo_dir/Sweep.ini"
if [ "$fresh" = 1 ]; then
    rm -f "$ini"
fi
if [ ! -f "$ini" ]; then
    {
        sweep_demo_hardware
        cat <<'INI'
[Sweep Generator]
Start=1000000
Stop=10000000
Max scaleV=1.5
INI
    } > "$ini"
fi
if [ -n "$dut" ]; then
    # Drop the [Simulator] section and write it again with the chosen device.
    awk '{ h = $0; sub(/\r$/, "", h) } /^\[/ { skip = (h == "[Simulator]") } !skip' "$ini" >"$ini.new"
    printf '[Simulator]\nDUT=%s\n' "$dut" >> "$ini.new"
    mv "$ini.new" "$ini"
fi
exec "$bin/sweep" --config "$ini"
