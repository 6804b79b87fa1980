#pragma once
// What a dialog or panel of the main window works with: the live configuration (the one the
// window's closing writer saves), the bound device (null without hardware), the sweep data
// and the way to speak to the user. Handed over by reference; the window owns them all.
//
// The window tells what it has done and what it wants to hear about:
// - configRead: the whole configuration has been read at start-up, so the live calibration
//   offsets are newer than (or equal to) the file's. Before that (the first run, an unknown
//   device name) the file holds the only valid values.
// - graphChanged: the sweep data's levels were recomputed outside a sweep; redraw the curve.
// - cursorModeChanged: the preferences changed the cursor type (0 floating cross, else the
//   linked cursor lines are shown).
#include <QtGlobal>
#include <functional>

class SweepConfig;
class SweepData;
class SweepDevice;
class UserMessages;

struct SweepContext {
    SweepConfig& config;
    SweepDevice* device;
    SweepData& data;
    UserMessages& messages;
    bool configRead = false;
    std::function<void()> graphChanged = {};
    std::function<void(qint16 cursorMode)> cursorModeChanged = {};
};
