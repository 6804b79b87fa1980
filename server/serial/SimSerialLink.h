#pragma once
// An in-process serial line to a firmware model (the sim:pic and sim:vna ports): what the
// host writes goes to the model at once; what the model sends becomes readable at the
// line's byte rate, or at once when unpaced. The link can be pulled like a USB adapter from
// its socket, for tests of a line that dies in the middle of a sweep.
#include "WirePacer.h"

#include <QByteArray>
#include <memory>

class FirmwareModel;

class SimSerialLink {
public:
    // The model's trace gets "port open" now and "port closed" when the link goes.
    SimSerialLink(std::unique_ptr<FirmwareModel> model, bool paced);
    ~SimSerialLink();

    // False, with nothing delivered, while the link is unplugged.
    bool write(const QByteArray& bytes);
    // Moves the bytes that have arrived by now into buffer (none while unplugged).
    void pump(QByteArray& buffer);

    // Pulls the adapter (or plugs it back): while unplugged writes fail and nothing arrives.
    void setUnplugged(bool unplugged);
    bool unplugged() const { return m_unplugged; }
    // Milliseconds until n more bytes will have arrived; negative when none are coming.
    double msUntil(qsizetype n) const;

    FirmwareModel* model() const { return m_model.get(); }

private:
    std::unique_ptr<FirmwareModel> m_model;
    WirePacer m_pacer;
    bool m_unplugged = false;
};
