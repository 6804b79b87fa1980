#pragma once
// What a dialog or panel of the main window works with: the live configuration (the one the
// window's closing writer saves), the bound device (null without hardware), the sweep data
// and the way to speak to the user. Handed over by reference; the window owns them all.
class SweepConfig;
class SweepData;
class SweepDevice;
class UserMessages;

struct SweepContext {
    SweepConfig& config;
    SweepDevice* device;
    SweepData& data;
    UserMessages& messages;
};
