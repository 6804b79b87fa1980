// Start-up reads and the closing save of a 50 MB Sweep.ini (a complete configuration followed
// by a large section of notes), as the main window does them. Prints the time of each, the
// number of times the file was replaced and the peak memory.
#include "SweepConfig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

constexpr qint64 kFileBytes = 50LL * 1024 * 1024;

QByteArray configuration() {
    return "[Config]\nInterface=2\nDDS Device=AD9851\nDDS Multiplier=1\nDDS Xtal freq=30000000\n"
           "DDS Max freq=60000000\nDDS Min freq=10\nDDS Offset=0\nADC Device=10bit\n"
           "ADC Offset=0\nADC Step=0.005\nADC Channel=1\n[Debug]\nLog=0\nUSB API=0\n"
           "Slow CPU=0\n[Parallel Port]\nLPT=&H378\nDriver=sim\n[Serial Port]\nCommPort=6\n"
           "Settings=115200,N,8,1\nDevice=\n[Sweep Generator]\nScale=0\nStart=1000000\n"
           "Stop=10000000\nMarker 0=0\nMax scaleV=1.5\nMax scaleDb=-40\nSweep mode=0\n"
           "Cursor mode=0\nAux_1=0\nAux_2=0\nPot_2=0\nMarker 3=0\nMarker 4=0\n"
           "Marker 1=1000000\nMarker 2=2000000\n[Aux1]\nInverse Logic=0\nTitle=Aux 1\n"
           "Enabled=0\n[Aux2]\nInverse Logic=0\nTitle=Aux 2\nEnabled=0\n[Notes]\n";
}

// The reads of the main window's start-up, in its order.
void startUp(SweepConfig& cfg) {
    cfg.readInterface();
    cfg.removeObsoleteSections();
    cfg.isFirstRun();
    cfg.readDebug();
    cfg.readDdsDevice();
    cfg.readDdsParameters();
    cfg.readAdcDevice();
    cfg.readAdcParameters();
    cfg.readPorts();
    cfg.readMainWindowState();
    cfg.readMarkers();
    cfg.readAux(1);
    cfg.readAux(2);
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sweep.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray data = configuration();
        for (qint64 i = 0; data.size() < kFileBytes; ++i)
            data += "Note " + QByteArray::number(i) + "=measured with the 10 dB pad in line\n";
        f.write(data);
    }
    // A settings file is old when the program starts: an hour, say.
    const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), anHourAgo, 0);

    QElapsedTimer t;
    t.start();
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        f.readAll();
    }
    const qint64 oneReadMs = t.elapsed();

    const ino_t original = inodeOf(path);
    t.restart();
    SweepConfig cfg(path);
    startUp(cfg);
    const qint64 startMs = t.elapsed();
    const ino_t before = inodeOf(path);

    cfg.freqStart = 2000000;
    cfg.freqStop = 3000000;
    t.restart();
    const bool saved = bool(cfg.writeOnClose(QStringLiteral("2500000"), QStringLiteral("2600000"),
                                             QStringLiteral("0.5"), QStringLiteral("0.25")));
    const qint64 closeMs = t.elapsed();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("Sweep.ini of %.1f MB\n", double(QFileInfo(path).size()) / (1024.0 * 1024.0));
    std::printf("reading the file alone: %lld ms\n", static_cast<long long>(oneReadMs));
    std::printf("start-up reads: %lld ms, file %s\n", static_cast<long long>(startMs),
                before == original ? "not rewritten" : "rewritten");
    std::printf("closing save:   %lld ms, %s, file %s\n", static_cast<long long>(closeMs),
                saved ? "written" : "FAILED",
                inodeOf(path) != before ? "replaced" : "not replaced");
    std::printf("peak memory:    %ld MB\n", usage.ru_maxrss / 1024);
    return saved ? 0 : 1;
}
