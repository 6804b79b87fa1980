#pragma once
// The numbers both programs agree on, defined once: sweep (the window, its device layer and
// its files) and tarvex (the device classes) read them from here. On the wire they stay the
// contract's Integer (qint16); the names only replace bare numbers in the code.
#include <QtGlobal>

// Every sweep has this many points (the PIC board's block, the parallel port's word table,
// the MiniVNA's largest request, the table's rows and the CSV file's lines).
inline constexpr int NUMERO_CAMPIONI = 400;

// The sweep state: statoSweep in the window, aSweepON / mySweepON in the device. A device's
// loop runs while the state is above kStopRequested.
namespace SweepState {
inline constexpr qint16 kStopped = 0;
// Written by the window to end the pass under way when it restarts the sweep.
inline constexpr qint16 kRestart = 1;
inline constexpr qint16 kStopRequested = 2;
inline constexpr qint16 kRunning = 4;
} // namespace SweepState

// tipoErrore, the kind of an aErrore event.
namespace ErrorCode {
inline constexpr qint16 kLog = 0;      // a log line, no fault
inline constexpr qint16 kRetry = 1;    // a retry is under way
inline constexpr qint16 kOverflow = 2; // a reading out of range
inline constexpr qint16 kError = 3;    // a time-out, a port fault, a refused request
} // namespace ErrorCode

// interfaccia, the kind of hardware (Sweep.ini [Configuration] Interface).
namespace InterfaceKind {
inline constexpr qint16 kPic = 1;          // PIC board on a serial port (cAsyncPIC)
inline constexpr qint16 kParallelPort = 2; // DDS and converter on the parallel port (cAsyncLPT)
inline constexpr qint16 kMiniVna = 3;      // MiniVNA on a serial port (cAsyncMiniVNA)
} // namespace InterfaceKind
