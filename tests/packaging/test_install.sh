#!/usr/bin/env bash
# test_install.sh BUILD_DIR: installs the build into a temporary root, checks the desktop files
# there, and runs the installed sweep headless as a user who has never run it: the first run
# offers the set-up dialog; with a configuration for the simulated parallel-port board it finds
# the installed tarvex and help, sweeps, and keeps its configuration under the fresh HOME.
set -euo pipefail
source "$(dirname "$0")/../../tools/demo-hardware.sh"
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install"; }
usr=$root/usr
for f in bin/sweep bin/tarvex bin/sweep-sim share/sweep/help/index.html \
    share/applications/org.orvane.Sweep.desktop share/metainfo/org.orvane.Sweep.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.orvane.Sweep.svg \
    share/icons/hicolor/48x48/apps/org.orvane.Sweep.png \
    share/man/man1/sweep.1.gz share/man/man1/tarvex.1.gz share/man/man1/sweep-sim.1.gz \
    share/doc/sweep/copyright share/doc/sweep/scripting.md \
    share/doc/sweep/examples/python/sweep_once.py; do
    [ -e "$usr/$f" ] || fail "not installed: /usr/$f"
done
for size in 16 24 32 64 128 256; do
    [ -e "$usr/share/icons/hicolor/${size}x$size/apps/org.orvane.Sweep.png" ] ||
        fail "icon of ${size}x$size missing"
done
desktop-file-validate "$usr/share/applications/org.orvane.Sweep.desktop" ||
    fail "desktop-file-validate"
grep -q '^License: GPL-3+$' "$usr/share/doc/sweep/copyright" || fail "copyright names no GPL-3+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$usr/share/metainfo/org.orvane.Sweep.metainfo.xml" || fail "metainfo names no licence"
appstreamcli validate --no-net --explain "$usr/share/metainfo/org.orvane.Sweep.metainfo.xml" ||
    fail "appstreamcli validate"
for page in sweep tarvex sweep-sim; do
    # Every page renders without a troff warning.
    warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 MANWIDTH=80 \
        groff -man -Tutf8 -ww -z 2>&1) || fail "man page $page does not render"
    [ -z "$warnings" ] || fail "man page $page: $warnings"
done

# A fresh user: nothing in HOME, a private runtime folder, no build tree on PATH (the
# sanitizer options of a sanitized build pass through).
run_sweep() { # run_sweep HOME SWEEPS: the installed sweep, bounded in time
    local home=$1
    mkdir -p "$home/run"
    chmod 0700 "$home/run"
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen LANG="${LANG:-C.UTF-8}" \
        LC_ALL="${LC_ALL:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
        timeout 150 "$usr/bin/sweep" --sweeps "$2"
}

first=$work/first
mkdir -p "$first"
status=0
run_sweep "$first" 1 >"$work/first.out" 2>"$work/first.err" || status=$?
cat "$work/first.out" "$work/first.err"
[ $status -ne 124 ] || fail "the first run hung (killed after 150 s)"
[ $status -eq 2 ] || fail "the first run ended with status $status, not 2"
grep -q "the set-up dialog opens for $first/.config/orvane/Sweep.ini" "$work/first.out" ||
    fail "the first run did not offer the set-up dialog"

home=$work/home
ini=$home/.config/orvane/Sweep.ini
mkdir -p "$(dirname "$ini")"
{
    sweep_demo_hardware
    printf '[Sweep Generator]\nStart=1000000\nStop=10000000\n'
} >"$ini"
status=0
run_sweep "$home" 2 >"$work/sweep.out" 2>"$work/sweep.err" || status=$?
cat "$work/sweep.out" "$work/sweep.err"
[ $status -ne 124 ] || fail "the installed sweep hung (killed after 150 s)"
[ $status -eq 0 ] || fail "the installed sweep ended with status $status"
# The closing shutdown stops the sweep and closes the port: no fault of the device on the way.
! grep -q "^sweep: " "$work/sweep.err" || fail "a clean run reported device faults"
grep -qx "configuration: $ini" "$work/sweep.out" || fail "configuration not read from $ini"
grep -qx "help: $usr/share/sweep/help/index.html" "$work/sweep.out" ||
    fail "the installed help was not found"
grep -qx "device server: $usr/bin/tarvex" "$work/sweep.out" ||
    fail "the installed tarvex was not the device server"
for n in 1 2; do
    grep -q "^sweep $n: 400 readings, 1000000 Hz to 9977500 Hz" "$work/sweep.out" ||
        fail "sweep $n missing"
done
# The window's state went back into the file at the close; nothing was written beside the program.
grep -q "^Marker 1=" "$ini" || fail "the configuration was not written to $ini"
[ ! -e "$usr/bin/Sweep.ini" ] || fail "a Sweep.ini was written beside the installed program"
echo "installed sweep: first run offered the set-up; 2 sweeps of 400 readings"
