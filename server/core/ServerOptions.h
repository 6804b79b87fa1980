#pragma once
// Command-line choices of tarvex that the device classes need.
#include "LptDrivers.h"
#include "SimulatedDuts.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class DeviceObject;

struct ServerOptions {
    QString lptDriver = defaultLptDriver(); // a name of kLptDrivers
    QString simDut = defaultSimulatedDut(); // a name of kSimulatedDuts
    bool simPaceReal = true;                // false: simulators run unpaced (--sim-pace max)
    QMap<int, QString> comMap;              // COMn -> device path or sim:pic / sim:vna
    QString simLogPath; // --sim-log: the simulated hardware appends what it decoded; empty: off
};

// The whole command line of tarvex.
struct TarvexCommandLine {
    ServerOptions options;
    QString listenAddress; // --listen ADDRESS (a D-Bus server address such as unix:path=...)
    bool session = false;  // --session: serve on the session bus instead
    bool help = false;     // --help
};

// Parses the arguments after the program name. On a bad command line returns false with a
// message in *error that names the offending argument.
bool parseTarvexArguments(const QStringList& args, TarvexCommandLine* out, QString* error);

// The usage text printed by --help and after a bad command line.
QString tarvexUsage();

// Builds one device object with its adaptors attached (the class adaptor and the Flow
// adaptor), parented to parent. The tarvex program passes the real classes; tests pass
// their own devices. A factory that returns nullptr (or is empty) means that object is not
// served.
using DeviceFactory = std::function<DeviceObject*(const ServerOptions&, QObject* parent)>;

struct DeviceFactories {
    DeviceFactory pic; // served at /cAsyncPIC
    DeviceFactory lpt; // served at /cAsyncLPT
    DeviceFactory vna; // served at /cAsyncMiniVNA
};
