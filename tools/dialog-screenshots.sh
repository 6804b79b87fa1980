#!/bin/bash
# Screenshots of every dialog and setup page for docs/screenshots, taken on a virtual screen:
#   xvfb-run -a -s "-screen 0 1280x900x24" tools/dialog-screenshots.sh [BUILD_DIR] [OUT_DIR]
# Needs openbox and imagemagick (import). Each shot is cropped to the dialog with its frame.
set -eu
build=${1:-build}
out=${2:-docs/screenshots}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"; kill $wm 2>/dev/null || true' EXIT
cat > "$work/Sweep.ini" <<'INI'
[Config]
Interface=2
DDS Device=AD9851
DDS Multiplier=1
DDS Xtal freq=30000000
DDS Max freq=70000000
DDS Min freq=10
DDS Offset=1.25
ADC Device=10bit
ADC Offset=0.012
ADC Step=0.0048828
ADC Channel=1
[Parallel Port]
LPT=&H378
Driver=sim
[Serial Port]
CommPort=3
Device=/dev/ttyUSB0
[Aux1]
Enabled=1
Title=Attenuator
Step 0=1 dB;1
Step 1=2 dB;2
Step 2=4 dB;4
Step 3=8 dB;8
Step 4=16 dB;16
Step 5=32 dB;32
Step 6=;
Step 7=;
INI
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
shot() {
    local what=$1 name=$2
    "$build/bin/dialog_shot" --config "$work/Sweep.ini" "$what" > "$work/geometry" &
    local pid=$!
    for _ in $(seq 50); do
        [ -s "$work/geometry" ] && break
        sleep 0.1
    done
    sleep 0.3
    import -window root -crop "$(head -1 "$work/geometry")" +repage "$out/$name.png"
    wait $pid || true
    echo "$out/$name.png"
}
pages=(interface ports dds adc aux pinout)
for i in 0 1 2 3 4 5; do
    shot "setup$i" "setup-${pages[$i]}"
done
shot calibradds calibrate-generator
shot calibraadc calibrate-detector
shot preferences preferences
shot about about
shot help help-main
