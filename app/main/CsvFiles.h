#pragma once
// The File menu's sweep files: "Export (.csv)" (mnuSaveCSV) saves the sweep data to a CSV file,
// "Import" (mnuOpenCSV) loads one back. Here live the file dialogs (filter "Sweep files
// (*.csv)", starting in the folder of the file chosen last), the save and load through the
// sweep-file functions, the check of a loaded file's calibration with its question, and the
// messages. A failed save keeps any file already there; a failed load changes nothing.
//
// The window follows the signals, connected directly (the slots run inside the handlers):
//   aboutToSave(), aboutToLoad(): switch the display to the linear scale (aggiornaScala with 0),
//       so that the level column holds volts. aboutToLoad comes only once the whole file has
//       been read and accepted.
//   loaded(freqStart, freqStop): the sweep data has been rebuilt on the file's first frequency
//       and row spacing and holds its 400 points, and the configuration holds its range
//       (freqStart, freqStop: the frequencies of rows 1 and 400). The window shows it in txtStart
//       and txtStop, computes the step (calcolaStep; not a rebuild of the table, which would
//       clear the points), sets lblStart and lblStop to the two frequencies and lblCentro to
//       round((freqStart + freqStop) / 2) (not the text of row 200), refreshes txtM1Y and
//       txtM2Y from the rows under the markers and redraws the graph.
#include "CsvSweep.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class SweepData;
struct SweepContext;

class CsvFiles : public QObject {
    Q_OBJECT
public:
    // The largest file an import reads: a sweep file is some 12 kB.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    CsvFiles(SweepContext& context, QWidget* parent);

    void mnuSaveCSV_Click();
    void mnuOpenCSV_Click();
    // The pieces of the two, for other sweep files (the trace menu's reference). Each tells the
    // user what went wrong and returns nothing (false) then.
    // The save (save) or open dialog, in the folder chosen last; empty for Cancel.
    QString askFile(bool save);
    // The sweep data as its file holds it; path names the file in the message.
    std::optional<CsvSweep> sweepOf(const SweepData& data, const QString& path);
    bool writeFile(const QString& path, const CsvSweep& sweep);
    std::optional<CsvSweep> readFile(const QString& path);
    // Answers both dialogs instead of showing them (save: true for the save dialog); for a
    // window driven without a desktop.
    void setChooser(std::function<QString(bool save, const QString& folder)> chooser) {
        m_chooser = std::move(chooser);
    }

signals:
    void aboutToSave();
    void aboutToLoad();
    void loaded(qint32 freqStart, qint32 freqStop);

protected:
    // The save and open dialogs, opened in `folder` (empty before the first choice); an empty
    // answer means Cancel. Tests replace them.
    virtual QString chooseSaveFile(const QString& folder);
    virtual QString chooseOpenFile(const QString& folder);

private:
    // An accepted file into the sweep data, after the calibration question if it is due.
    void show(const CsvSweep& sweep, const QString& fileName);
    void tell(const QString& text);

    SweepContext& m_ctx;
    QWidget* m_parent;
    QString m_folder;
    std::function<QString(bool, const QString&)> m_chooser;
};
