#include "CsvFiles.h"

#include "NumberFormat.h"
#include "Rounding.h"
#include "SampleConverter.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "SweepFile.h"
#include "UserMessages.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kFilter = QStringLiteral("Sweep files (*.csv)");
constexpr int kVoltDecimals = 3; // the table's volts, "#0.000"

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The sweep as its file holds it, in volts as the linear scale shows them; 0 when every row holds
// finite numbers, else the first row that does not.
int sweepOfData(const SweepData& data, CsvSweep& sweep) {
    for (int row = 1; row <= kCsvRows; ++row) {
        const CsvPoint p{static_cast<double>(data.frequencyOf(row)), data.raw(row),
                         shownNumber(data.volts(row), kVoltDecimals)};
        if (!std::isfinite(p.raw) || !std::isfinite(p.volts))
            return row;
        sweep[row - 1] = p;
    }
    return 0;
}

// A file's frequency as the window keeps its range: 32-bit whole hertz.
qint32 wholeHertz(qint64 frequency) {
    return static_cast<qint32>(std::clamp<qint64>(frequency, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

} // namespace

CsvFiles::CsvFiles(SweepContext& context, QWidget* parent)
    : QObject(parent), m_ctx(context), m_parent(parent) {}

void CsvFiles::tell(const QString& text) {
    m_ctx.messages.beep();
    m_ctx.messages.message(text, QMessageBox::Warning);
}

QString CsvFiles::chooseSaveFile(const QString& folder) {
    if (m_chooser)
        return m_chooser(true, folder);
    QFileDialog dialog(m_parent, QStringLiteral("Save As"), folder, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The open dialog lists *.csv only: a name typed without it would not be found again.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CsvFiles::chooseOpenFile(const QString& folder) {
    if (m_chooser)
        return m_chooser(false, folder);
    QFileDialog dialog(m_parent, QStringLiteral("Open"), folder, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CsvFiles::askFile(bool save) {
    const QString path = save ? chooseSaveFile(m_folder) : chooseOpenFile(m_folder);
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<CsvSweep> CsvFiles::sweepOf(const SweepData& data, const QString& path) {
    CsvSweep sweep;
    if (const int row = sweepOfData(data, sweep); row != 0) {
        tell(QStringLiteral("Cannot save %1: row %2 of the table does not hold numbers.")
                 .arg(shownPath(path))
                 .arg(row));
        return std::nullopt;
    }
    return sweep;
}

bool CsvFiles::writeFile(const QString& path, const CsvSweep& sweep) {
    QString reason;
    if (writeSweepFile(path, sweep, &reason))
        return true;
    tell(QStringLiteral("Cannot save %1: %2. A file already there was left unchanged; check "
                        "that the folder exists and that you may write there.")
             .arg(shownPath(path), reason));
    return false;
}

std::optional<CsvSweep> CsvFiles::readFile(const QString& path) {
    const SweepFileRead read = readSweepFile(path, kMaxFileBytes);
    const QString shown = shownPath(path);
    switch (read.fault) {
    case SweepFileRead::Fault::None:
        return read.sweep;
    case SweepFileRead::Fault::Open:
        tell(QStringLiteral("Cannot open %1: %2.").arg(shown, read.reason));
        break;
    case SweepFileRead::Fault::Read:
        tell(QStringLiteral("Cannot read %1: %2.").arg(shown, read.reason));
        break;
    case SweepFileRead::Fault::TooLarge:
        tell(QStringLiteral("Cannot load %1: it is larger than 64 MB, which no sweep file is. "
                            "Nothing was changed.")
                 .arg(shown));
        break;
    case SweepFileRead::Fault::Refused:
        tell(QStringLiteral("Cannot load %1, line %2: %3. Nothing was changed.")
                 .arg(shown)
                 .arg(read.line)
                 .arg(read.reason));
        break;
    }
    return std::nullopt;
}

void CsvFiles::mnuSaveCSV_Click() {
    const QString path = askFile(true);
    if (path.isEmpty())
        return;
    emit aboutToSave();
    if (const std::optional<CsvSweep> sweep = sweepOf(m_ctx.data, path))
        writeFile(path, *sweep);
}

void CsvFiles::mnuOpenCSV_Click() {
    // Cancel loads nothing, not even the file chosen last.
    const QString path = askFile(false);
    if (path.isEmpty())
        return;
    if (const std::optional<CsvSweep> sweep = readFile(path))
        show(*sweep, QFileInfo(path).fileName());
}

void CsvFiles::show(const CsvSweep& sweep, const QString& fileName) {
    // The numbers as the table shows them: whole hertz and volts to 3 decimals.
    QVector<qint64> frequencies;
    QVector<double> raws, volts;
    for (const CsvPoint& p : sweep) {
        frequencies << static_cast<qint64>(shownNumber(p.frequency, 0));
        raws << p.raw;
        volts << shownNumber(p.volts, kVoltDecimals);
    }

    // A file made with another detector calibration: its raw readings give other volts.
    const SweepConfig& cfg = m_ctx.config;
    bool adjust = false;
    if (SampleConverter::volts(raws[0], cfg.adcStep, cfg.adcOffset) != volts[0]) {
        m_ctx.messages.beep();
        adjust = m_ctx.messages.question(
            fileName,
            QStringLiteral("This file was created with a different ADC step or offset.\n"
                           "Press OK to adjust amplitude to the current configuration,\n"
                           "CANCEL to keep the original values."),
            QMessageBox::Warning);
    }

    emit aboutToLoad();
    const qint32 start = wholeHertz(frequencies.constFirst());
    const qint32 stop = wholeHertz(frequencies.constLast());
    // The sweep data finds a row by frequency from the first row and the spacing of the rows:
    // give it the file's. (The window's step divides the same range by 400, as a sweep does.)
    const auto spacing =
        static_cast<qint32>(roundHalfEven((double(stop) - double(start)) / (kCsvRows - 1)));
    SweepData& data = m_ctx.data;
    data.setFileSweep(start, spacing, frequencies, raws, volts);
    if (adjust)
        data.convertAll(ScaleModel::kLinear, cfg.adcStep, cfg.adcOffset);
    m_ctx.config.freqStart = start;
    m_ctx.config.freqStop = stop;
    emit loaded(start, stop);
}
