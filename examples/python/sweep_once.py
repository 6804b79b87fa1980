#!/usr/bin/env python3
"""One sweep of the simulated parallel-port board through tarvex on the session bus.

Starts `tarvex --session --lpt-driver sim`, binds the device /cAsyncLPT, starts a sweep from
1 MHz to 10 MHz, prints the 400 readings of the first aVettore (point, frequency in Hz,
converter count), stops the sweep, closes the port and ends tarvex.

    sweep_once.py [--tarvex PATH] [--timeout SECONDS]

Needs a session bus (run it under `dbus-run-session` when there is none) and the Debian
packages python3-dbus and python3-gi. Exits 1 when the sweep does not arrive whole in time.
"""
import argparse
import os
import subprocess
import sys

import dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

BUS_NAME = "org.orvane.Tarvex"
PATH = "/cAsyncLPT"
IFACE = "org.orvane.Tarvex.cAsyncLPT"
POINTS = 400
START_HZ = 1_000_000
STOP_HZ = 10_000_000
STEP_HZ = (STOP_HZ - START_HZ) // POINTS  # 22500 Hz
STOP_REQUESTED = 2  # aSweepON: the device ends the pass under way, then raises aComplete


def start_tarvex(program, timeout):
    """Starts tarvex on the session bus; returns it once it has printed READY."""
    server = subprocess.Popen([program, "--session", "--lpt-driver", "sim"],
                              stdout=subprocess.PIPE, text=True)
    ready = []
    loop = GLib.MainLoop()

    def on_line(_fd, _condition):
        line = server.stdout.readline()
        if line.strip() == "READY":
            ready.append(True)
        if ready or not line:  # READY, or tarvex ended
            loop.quit()
            return False
        return True

    GLib.io_add_watch(server.stdout.fileno(), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP,
                      on_line)
    GLib.timeout_add(int(timeout * 1000), loop.quit)
    loop.run()
    if not ready:
        server.kill()
        sys.exit(f"tarvex ({program}) did not become ready on the session bus")
    return server


def wait_until(condition, seconds):
    """Runs the main loop until condition() holds or the time is up; returns condition()."""
    context = GLib.MainContext.default()
    timed_out = []
    source = GLib.timeout_add(int(seconds * 1000), lambda: timed_out.append(True) or False)
    while not condition() and not timed_out:
        context.iteration(True)
    if not timed_out:
        GLib.source_remove(source)
    return condition()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tarvex", default="tarvex", help="the tarvex program to start")
    parser.add_argument("--timeout", type=float, default=30.0,
                        help="seconds to wait for each step (default 30)")
    args = parser.parse_args()

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    server = start_tarvex(args.tarvex, args.timeout)
    try:
        device = bus.get_object(BUS_NAME, PATH)
        lpt = dbus.Interface(device, IFACE)
        props = dbus.Interface(device, "org.freedesktop.DBus.Properties")

        vectors, completes = [], []
        device.connect_to_signal("aVettore", lambda v: vectors.append(list(v)),
                                 dbus_interface=IFACE)
        device.connect_to_signal("aComplete", lambda: completes.append(True),
                                 dbus_interface=IFACE)
        device.connect_to_signal("aErrore", lambda code, text: print(f"# log {code}: {text}"),
                                 dbus_interface=IFACE)

        # Bind: open the port (0x378 on the simulated board), then name the chips and the
        # reference clock, as Sweep does from its configuration.
        if not lpt.aInizializzaLPT(dbus.Int16(0x378)):
            sys.exit("the parallel port did not open")
        props.Set(IFACE, "aDeviceDDS", "AD9851")
        props.Set(IFACE, "aDeviceADC", "10bit")
        props.Set(IFACE, "aClock", dbus.Double(30e6))
        props.Set(IFACE, "aMultiplier", dbus.Int16(1))
        lpt.aInizializzaDDS()

        # Sweep: the 400 frequencies, then the start, which returns at once.
        lpt.aInizializzaSweep(dbus.Int32(START_HZ), dbus.Int32(STEP_HZ))
        lpt.aStartLPT()
        if not wait_until(lambda: vectors, args.timeout):
            sys.exit(f"no aVettore within {args.timeout} s")

        # Stop, and wait for the end of the pass under way.
        props.Set(IFACE, "aSweepON", dbus.Int16(STOP_REQUESTED))
        if not wait_until(lambda: completes, args.timeout):
            sys.exit(f"no aComplete within {args.timeout} s of the stop request")
        lpt.aExitLPT()

        # Index 0 of the vector stays 0; the readings are at 1..400.
        readings = vectors[0][1:POINTS + 1]
        for point, count in enumerate(readings, start=1):
            print(f"{point} {START_HZ + (point - 1) * STEP_HZ} {count}")
        print(f"# {len(readings)} readings")
        if len(readings) != POINTS:
            sys.exit(f"expected {POINTS} readings, got {len(readings)}")
    finally:
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()


if __name__ == "__main__":
    main()
