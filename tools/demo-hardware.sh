# Sourced by the scripts that run Sweep on the simulated parallel-port board.
# sweep_demo_hardware: prints the [Config] and [Parallel Port] sections of that board
# (AD9851 at 30 MHz, 10-bit converter at 1.5 mV per count, the simulated port driver).
sweep_demo_hardware() {
    cat <<'INI'
[Config]
Interface=2
DDS Device=AD9851
DDS Multiplier=1
DDS Xtal freq=30000000
DDS Max freq=60000000
DDS Min freq=10
DDS Offset=0
ADC Device=10bit
ADC Offset=0
ADC Step=0.0015
ADC Channel=1
[Parallel Port]
LPT=&H378
Driver=sim
INI
}
