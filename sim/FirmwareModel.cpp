#include "FirmwareModel.h"

#include "DutModel.h"
#include "PicFirmware.h"
#include "VnaFirmware.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<const char*, FirmwareFault>, 7> kFaultNames{{
    {"noreply", FirmwareFault::NoReply},
    {"noack", FirmwareFault::NoAck},
    {"stray", FirmwareFault::Stray},
    {"overflow", FirmwareFault::Overflow},
    {"noend", FirmwareFault::NoEnd},
    {"truncate", FirmwareFault::Truncate},
    {"silence", FirmwareFault::Silence},
}};
} // namespace

void FirmwareModel::setFault(FirmwareFault f, bool on) {
    if (on)
        m_faults.insert(f);
    else
        m_faults.remove(f);
}

bool FirmwareModel::faultFromName(const QString& name, FirmwareFault* out) {
    for (const auto& [text, f] : kFaultNames) {
        if (name == QLatin1String(text)) {
            *out = f;
            return true;
        }
    }
    return false;
}

QStringList FirmwareModel::faultNames() {
    QStringList names;
    for (const auto& entry : kFaultNames)
        names << QLatin1String(entry.first);
    return names;
}

std::unique_ptr<FirmwareModel> FirmwareModel::create(const QString& kind, const QString& dut) {
    auto model = DutModel::create(dut);
    if (!model)
        return nullptr;
    if (kind == QLatin1String("pic"))
        return std::make_unique<PicFirmware>(std::move(model));
    if (kind == QLatin1String("vna"))
        return std::make_unique<VnaFirmware>(std::move(model));
    return nullptr;
}
