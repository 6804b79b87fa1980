#pragma once
// Shared by the window benchmarks: messages printed instead of shown, and the demo's
// configuration (the simulated parallel-port board).
#include "UserMessages.h"

#include <cstdio>

class QuietMessages : public UserMessages {
public:
    void beep() override {}
    void message(const QString& text, QMessageBox::Icon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

// The [Config] and [Parallel Port] sections of the demo.
inline const char* kDemoHardware =
    "[Config]\nInterface=2\nDDS Device=AD9851\nDDS Multiplier=1\nDDS Xtal freq=30000000\n"
    "DDS Max freq=60000000\nDDS Min freq=10\nDDS Offset=0\nADC Device=10bit\nADC Offset=0\n"
    "ADC Step=0.0015\nADC Channel=1\n[Parallel Port]\nLPT=&H378\nDriver=sim\n";
