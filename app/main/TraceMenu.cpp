#include "TraceMenu.h"

#include "CsvFiles.h"
#include "Normalisation.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepGraph.h"
#include "UserMessages.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

using ConfigKeys::kAverageChoices;

TraceMenu::TraceMenu(SweepConfig& config, SweepData* data, SweepGraph* graph,
                     SweepController* controller, CsvFiles* files, UserMessages& messages,
                     QObject* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_graph(graph), m_controller(controller),
      m_files(files), m_messages(messages) {}

void TraceMenu::build(QMenuBar* bar, QAction* before) {
    mnuTrace = new QMenu(QStringLiteral("Trace"), bar);
    bar->insertMenu(before, mnuTrace);
    mnuTrace->setObjectName(QStringLiteral("mnuTrace"));
    const auto item = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuStoreReference = item(mnuTrace, "mnuStoreReference", QStringLiteral("Store Reference"));
    mnuLoadReference = item(mnuTrace, "mnuLoadReference", QStringLiteral("Load Reference..."));
    mnuSaveReference = item(mnuTrace, "mnuSaveReference", QStringLiteral("Save Reference..."));
    mnuClearReference = item(mnuTrace, "mnuClearReference", QStringLiteral("Clear Reference"));
    mnuNormalize = item(mnuTrace, "mnuNormalize", QStringLiteral("Normalize"));
    mnuNormalize->setCheckable(true);
    connect(mnuStoreReference, &QAction::triggered, this, &TraceMenu::storeReference);
    connect(mnuLoadReference, &QAction::triggered, this, &TraceMenu::loadReference);
    connect(mnuSaveReference, &QAction::triggered, this, &TraceMenu::saveReference);
    connect(mnuClearReference, &QAction::triggered, this, &TraceMenu::clearReference);
    connect(mnuNormalize, &QAction::toggled, this, &TraceMenu::setNormalised);

    mnuTrace->addSeparator();
    for (int n = 1; n <= TraceSet::kMemories; ++n) {
        QMenu* memory = mnuTrace->addMenu(TraceSet::slotName(n));
        memory->setObjectName(QStringLiteral("mnuMemory_%1").arg(n));
        auto& items = mnuMemory[n - 1];
        items[0] = memory->addAction(QStringLiteral("Store"));
        items[1] = memory->addAction(QStringLiteral("Show"));
        items[2] = memory->addAction(QStringLiteral("Clear"));
        const QStringList names{QStringLiteral("mnuMemoryStore_%1"),
                                QStringLiteral("mnuMemoryShow_%1"),
                                QStringLiteral("mnuMemoryClear_%1")};
        for (int i = 0; i < 3; ++i)
            items[i]->setObjectName(names[i].arg(n));
        items[1]->setCheckable(true);
        connect(items[0], &QAction::triggered, this, [this, n] { storeMemory(n); });
        connect(items[1], &QAction::toggled, this, &TraceMenu::drawMemories);
        connect(items[2], &QAction::triggered, this, [this, n] { clearMemory(n); });
    }

    mnuTrace->addSeparator();
    QMenu* average = mnuTrace->addMenu(QStringLiteral("Average"));
    average->setObjectName(QStringLiteral("mnuAverage"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < int(kAverageChoices.size()); ++i) {
        mnuAverage[i] = average->addAction(i == 0 ? QStringLiteral("Off")
                                                  : QString::number(kAverageChoices[i]));
        mnuAverage[i]->setObjectName(QStringLiteral("mnuAverage_%1").arg(i));
        mnuAverage[i]->setCheckable(true);
        group->addAction(mnuAverage[i]);
        connect(mnuAverage[i], &QAction::toggled, this, [this, i](bool on) {
            if (on)
                chooseAverage(i);
        });
    }
    updateActions();
}

QAction* TraceMenu::memoryAction(int memory, int item) const {
    return mnuMemory[std::clamp(memory, 1, TraceSet::kMemories) - 1][std::clamp(item, 0, 2)];
}

void TraceMenu::restore(const QString& folder) {
    m_traces = TraceSet(folder);
    const QStringList problems = m_traces.loadAll();
    for (int n = 1; n <= TraceSet::kMemories; ++n) {
        const QSignalBlocker quiet(mnuMemory[n - 1][1]);
        mnuMemory[n - 1][1]->setChecked(m_traces.has(n));
    }
    const auto chosen =
        std::find(kAverageChoices.begin(), kAverageChoices.end(), m_cfg.averageSweeps);
    const int index = chosen == kAverageChoices.end() ? 0 : int(chosen - kAverageChoices.begin());
    {
        const QSignalBlocker quiet(mnuAverage[index]);
        mnuAverage[index]->setChecked(true);
    }
    m_controller->setAveraging(kAverageChoices[index]);
    updateActions();
    if (!problems.isEmpty())
        tell(QStringLiteral("These stored traces could not be read back and were left out:\n") +
             problems.join(QLatin1Char('\n')));
}

void TraceMenu::tell(const QString& text) {
    m_messages.beep();
    m_messages.message(text, QMessageBox::Warning);
}

void TraceMenu::updateActions() {
    const bool reference = m_traces.has(TraceSet::kReference);
    mnuSaveReference->setEnabled(reference);
    mnuClearReference->setEnabled(reference);
    mnuNormalize->setEnabled(reference);
    for (int n = 1; n <= TraceSet::kMemories; ++n) {
        mnuMemory[n - 1][1]->setEnabled(m_traces.has(n));
        mnuMemory[n - 1][2]->setEnabled(m_traces.has(n));
    }
}

void TraceMenu::keep(int slot, const CsvSweep& sweep) {
    if (const QString problem = m_traces.store(slot, sweep); !problem.isEmpty())
        tell(problem + QStringLiteral("\nIt is kept until the program ends."));
    updateActions();
}

bool TraceMenu::haveSweep() {
    if (!m_haveSweep)
        tell(QStringLiteral("There is no complete sweep to store yet: press \"Sweep ON\" and let "
                            "one sweep finish, or import a sweep file."));
    return m_haveSweep;
}

void TraceMenu::referenceReplaced() {
    if (!m_data->normalised())
        return;
    if (applyReference())
        emit levelsChanged();
    else
        mnuNormalize->setChecked(false); // its handler converts the levels back
}

void TraceMenu::storeReference() {
    if (!haveSweep())
        return;
    const std::optional<CsvSweep> sweep =
        m_files->sweepOf(*m_data, m_traces.fileOf(TraceSet::kReference));
    if (!sweep)
        return;
    keep(TraceSet::kReference, *sweep);
    referenceReplaced();
}

void TraceMenu::loadReference() {
    const QString path = m_files->askFile(false);
    if (path.isEmpty())
        return;
    const std::optional<CsvSweep> sweep = m_files->readFile(path);
    if (!sweep)
        return;
    keep(TraceSet::kReference, *sweep);
    referenceReplaced();
}

void TraceMenu::saveReference() {
    if (!m_traces.has(TraceSet::kReference))
        return;
    const QString path = m_files->askFile(true);
    if (!path.isEmpty())
        m_files->writeFile(path, *m_traces.sweep(TraceSet::kReference));
}

void TraceMenu::clearReference() {
    if (const QString problem = m_traces.clear(TraceSet::kReference); !problem.isEmpty())
        tell(problem);
    mnuNormalize->setChecked(false);
    updateActions();
}

bool TraceMenu::applyReference() {
    const StoredTrace reference = m_traces.volts(TraceSet::kReference);
    const QVector<double> hz = m_data->frequenciesHz();
    const auto [low, high] = std::minmax_element(hz.cbegin(), hz.cend());
    if (!reference.covers(*low, *high, halfStepOf(hz))) {
        m_data->setReferenceVolts({});
        tell(QStringLiteral("\"Normalize\" is off: ") +
             coverageRefusal(reference.lowestHz(), reference.highestHz(), *low, *high));
        return false;
    }
    QVector<double> refVolts(hz.size());
    for (int i = 0; i < hz.size(); ++i)
        refVolts[i] = reference.valueAt(hz[i]);
    m_data->setReferenceVolts(refVolts);
    return true;
}

void TraceMenu::setNormalised(bool on) {
    if (on && !applyReference()) {
        const QSignalBlocker quiet(mnuNormalize);
        mnuNormalize->setChecked(false);
        return;
    }
    if (!on)
        m_data->setReferenceVolts({});
    emit levelsChanged();
}

void TraceMenu::rangeChanged() {
    m_haveSweep = false;
    if (m_data->normalised() && !applyReference()) {
        const QSignalBlocker quiet(mnuNormalize);
        mnuNormalize->setChecked(false);
        emit levelsChanged();
    }
}

void TraceMenu::storeMemory(int n) {
    if (!haveSweep())
        return;
    const std::optional<CsvSweep> sweep = m_files->sweepOf(*m_data, m_traces.fileOf(n));
    if (!sweep)
        return;
    keep(n, *sweep);
    mnuMemory[n - 1][1]->setChecked(true);
    drawMemories();
}

void TraceMenu::clearMemory(int n) {
    if (const QString problem = m_traces.clear(n); !problem.isEmpty())
        tell(problem);
    {
        const QSignalBlocker quiet(mnuMemory[n - 1][1]);
        mnuMemory[n - 1][1]->setChecked(false);
    }
    updateActions();
    drawMemories();
}

void TraceMenu::chooseAverage(int index) {
    m_cfg.averageSweeps = static_cast<qint16>(kAverageChoices[index]);
    m_controller->setAveraging(kAverageChoices[index]);
}

void TraceMenu::drawMemories() {
    QVector<MemoryCurve> curves;
    const QVector<double> hz = m_data->frequenciesHz();
    const int s = m_cfg.scala;
    for (int n = 1; n <= TraceSet::kMemories; ++n) {
        if (!m_traces.has(n) || !mnuMemory[n - 1][1]->isChecked())
            continue;
        MemoryCurve curve{SweepGraph::memoryColour(n), TraceSet::slotName(n), {}};
        const QVector<std::optional<double>> volts = traceOnSweep(m_traces.volts(n), hz);
        curve.y.resize(volts.size());
        for (int i = 0; i < volts.size(); ++i) {
            if (volts[i])
                curve.y[i] = ScaleModel::userY(m_data->shownLevel(i + 1, *volts[i], s), s);
        }
        curves << curve;
    }
    m_graph->setMemories(curves);
}
