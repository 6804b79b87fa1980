#!/usr/bin/env bash
# window-screenshots.sh BIN_DIR OUT_DIR: photographs the main window on each of the five scales
# while it sweeps the simulated band-pass filter, with the mouse over the graph, once more at
# device pixel ratio 2, and with the "Aux 1" and "Aux 2" views and the test panel shown. Then the
# trace features: a "through" stored as the reference, the band-pass normalised to it with the
# "Measure" view (and kept as Memory 1), and the low-pass normalised over that memory.
# Needs xvfb-run, openbox and xdotool.
set -euo pipefail
bin=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/demo-hardware.sh"
sweep_demo_hardware > "$work/hardware.ini"

cat > "$work/run.sh" <<SCRIPT
#!/usr/bin/env bash
set -u
openbox & sleep 1
shot() { # name scale cursor-mode m3 m4 env mouse-x mouse-y [view extra-sections]
    cp "$work/hardware.ini" "$work/\$1.ini"
    cat >> "$work/\$1.ini" <<INI
[Sweep Generator]
Start=1000000
Stop=20000000
Scale=\$2
Marker 1=4000000
Marker 2=6500000
Marker 3=\$4
Marker 4=\$5
Cursor mode=\$3
Marker 0=\${9:-0}
Aux_1=37
Aux_2=3
Pot_2=140
[Aux1]
Enabled=1
Title=Attenuator
[Aux2]
Enabled=1
Title=Amplifier
Step 0=Gain +6;6
Step 1=Gain +12;12
Step 2=Filter;0
Step 3=;0
Step 4=;0
Step 5=;0
Step 6=;0
Step 7=;0
\${10:-}
INI
    env \$6 "$bin/sweep_window_shot" --config "$work/\$1.ini" "$out/\$1.png" 3 2500 &
    local pid=\$!
    sleep 1.5
    local wid
    wid=\$(xdotool search --sync --onlyvisible --name "Sweep Generator" | head -1)
    xdotool mousemove --window "\$wid" \$7 \$8
    wait \$pid
}
shot scale-linear 0 0 0.8 0.2 "" 180 160
shot scale-log-1v 1 1 -3 -20 "" 140 200
shot scale-log-1v-10db 2 1 -3 -20 "" 160 200
shot scale-log-10v 3 0 -23 -40 "" 200 250
shot scale-log-10v-10db 4 1 -23 -40 "" 140 200
shot scale-log-1v-ratio2 1 1 -3 -20 "QT_SCALE_FACTOR=2" 300 400
shot view-aux1 1 0 -3 -20 "" 140 200 2
shot view-aux2 1 0 -3 -20 "" 140 200 3 "[Debug]
Log=1"
traceshot() { # name dut view out actions
    cp "$work/hardware.ini" "$work/\$1.ini"
    cat >> "$work/\$1.ini" <<INI
[Sweep Generator]
Start=1000000
Stop=20000000
Scale=1
Max scaleDb=-40
Marker 0=\$3
Marker 1=4000000
Marker 2=6500000
Marker 3=-3
Marker 4=-20
[Simulator]
DUT=\$2
INI
    "$bin/sweep_window_shot" --config "$work/\$1.ini" "\$4" 3 500 --actions "\$5"
}
traceshot through through 0 "$work/through.png" mnuStoreReference
traceshot view-measure bandpass 4 "$out/view-measure.png" mnuNormalize,mnuMemoryStore_1
traceshot trace-memory lowpass 0 "$out/trace-memory.png" mnuNormalize
SCRIPT
chmod +x "$work/run.sh"
xvfb-run -a -s "-screen 0 1800x1300x24" "$work/run.sh"
ls -l "$out"
