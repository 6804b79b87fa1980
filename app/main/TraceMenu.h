#pragma once
// The menu "Trace" (mnuTrace): the reference and "Normalize", the four memories and "Average".
//
// "Store Reference" keeps the last complete sweep as the reference; "Load Reference..." and
// "Save Reference..." read and write it as a sweep file; "Clear Reference" drops it.
// "Normalize" (enabled with a reference) shows every level against the reference's volts at its
// frequency (dB, or a ratio on "Linear"); a reference that does not cover the sweep's range
// turns it off with a message giving both ranges. "Memory 1" .. "Memory 4" each "Store",
// "Show" and "Clear" a sweep drawn under the live curve over the frequencies it covers,
// normalised like the live one. "Average" ("Off", "2", "4", "8", "16") is kept in Sweep.ini.
// The reference and memories are kept in sweep files beside Sweep.ini (TraceSet).
#include "ConfigKeys.h"
#include "TraceSet.h"

#include <QObject>
#include <array>

class CsvFiles;
class QAction;
class QMenu;
class QMenuBar;
class SweepConfig;
class SweepController;
class SweepData;
class SweepGraph;
class UserMessages;
struct MemoryCurve;

class TraceMenu : public QObject {
    Q_OBJECT
public:
    TraceMenu(SweepConfig& config, SweepData* data, SweepGraph* graph, SweepController* controller,
              CsvFiles* files, UserMessages& messages, QObject* parent);

    // Adds the menu to the bar, before the menu of `before`.
    void build(QMenuBar* bar, QAction* before);
    // Start-up: the reference and memories kept in `folder` read back (a file that cannot be
    // read is named in a message), the stored "Average" checked and applied.
    void restore(const QString& folder);

    // A complete sweep is in the data (received, or read from a file).
    void sweepCompleted() { m_haveSweep = true; }
    // The sweep data has a new range (and no sweep over it yet): the reference is mapped onto
    // its frequencies again.
    void rangeChanged();
    // The memories as the graph draws them, in the scale shown (call with every redraw).
    void drawMemories();

    const TraceSet& traces() const { return m_traces; }
    QAction* normalizeAction() const { return mnuNormalize; }
    QAction* averageAction(int index) const { return mnuAverage[index]; }
    QAction* memoryAction(int memory, int item) const; // item 0 Store, 1 Show, 2 Clear

signals:
    // The levels of the sweep data changed meaning (normalisation on or off): the window
    // converts and redraws everything that shows a level.
    void levelsChanged();

private:
    // Whether a complete sweep is there to store; the user is told when not.
    bool haveSweep();
    // A new reference: normalised levels follow it, or normalisation goes off.
    void referenceReplaced();
    void storeReference();
    void loadReference();
    void saveReference();
    void clearReference();
    void setNormalised(bool on);
    // The reference's volts on the sweep's frequencies into the sweep data, or normalisation
    // turned off with the reason. False when refused.
    bool applyReference();
    void storeMemory(int n);
    void clearMemory(int n);
    void chooseAverage(int index);
    void keep(int slot, const CsvSweep& sweep);
    void updateActions();
    void tell(const QString& text);

    SweepConfig& m_cfg;
    SweepData* m_data;
    SweepGraph* m_graph;
    SweepController* m_controller;
    CsvFiles* m_files;
    UserMessages& m_messages;
    TraceSet m_traces;
    bool m_haveSweep = false;

    QMenu* mnuTrace = nullptr;
    QAction* mnuStoreReference = nullptr;
    QAction* mnuLoadReference = nullptr;
    QAction* mnuSaveReference = nullptr;
    QAction* mnuClearReference = nullptr;
    QAction* mnuNormalize = nullptr;
    std::array<std::array<QAction*, 3>, TraceSet::kMemories> mnuMemory{};
    std::array<QAction*, ConfigKeys::kAverageChoices.size()> mnuAverage{};
};
