#pragma once
// An in-process serial line to a firmware model (the sim:pic and sim:vna ports): what the
// host writes goes to the model at once; what the model sends becomes readable at the
// line's byte rate, or at once when unpaced.
#include "WirePacer.h"

#include <QByteArray>

#include <memory>

class FirmwareModel;

class SimSerialLink {
public:
    SimSerialLink(std::unique_ptr<FirmwareModel> model, bool paced);
    ~SimSerialLink();

    void write(const QByteArray& bytes);
    // Moves the bytes that have arrived by now into buffer.
    void pump(QByteArray& buffer);
    // Milliseconds until n more bytes will have arrived; negative when none are coming.
    double msUntil(qsizetype n) const;

    FirmwareModel* model() const { return m_model.get(); }

private:
    std::unique_ptr<FirmwareModel> m_model;
    WirePacer m_pacer;
};
