#include "CsvFiles.h"

#include "CsvReader.h"
#include "CsvWriter.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SafeSave.h"
#include "SampleConverter.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "UserMessages.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace {

const QString kFilter = QStringLiteral("Sweep files (*.csv)");
const QString kFrequencyPicture = QStringLiteral("###,###,##0");
const QString kVoltPicture = QStringLiteral("#0.000");

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The table's view of the sweep in volts; 0 when every row holds numbers, else the first row
// that does not.
int tableAsSweep(const SweepData& data, CsvSweep& sweep) {
    for (int row = 1; row <= kCsvRows; ++row) {
        const auto f = parseNumber(data.text(row, 0), ParseFlag::AllowGroupSeparator);
        const auto v = parseNumber(data.text(row, 1));
        const auto raw = parseNumber(data.text(row, 2));
        if (!f || !v || !raw)
            return row;
        sweep[row - 1] = {*f, *raw, *v};
    }
    return 0;
}

// A file's frequency as the window takes it: the number its table text shows.
qint32 wholeHertz(const QString& text, double frequency) {
    const double shown = parseNumber(text, ParseFlag::AllowGroupSeparator).value_or(frequency);
    return toInt32(std::clamp(shown, -2147483648.0, 2147483647.0)).value_or(0);
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

void CsvFiles::mnuSaveCSV_Click() {
    const QString path = chooseSaveFile(m_folder);
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    emit aboutToSave();
    CsvSweep sweep;
    if (const int row = tableAsSweep(m_ctx.data, sweep); row != 0) {
        tell(QStringLiteral("Cannot save %1: row %2 of the table does not hold numbers.")
                 .arg(shownPath(path))
                 .arg(row));
        return;
    }
    QString reason;
    if (!saveReplacing(path, writeSweepCsv(sweep), &reason))
        tell(QStringLiteral("Cannot save %1: %2. A file already there was left unchanged; check "
                            "that the folder exists and that you may write there.")
                 .arg(shownPath(path), reason));
}

void CsvFiles::mnuOpenCSV_Click() {
    // Cancel loads nothing, not even the file chosen last.
    const QString path = chooseOpenFile(m_folder);
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    const std::optional<QByteArray> bytes = readWhole(path);
    if (!bytes)
        return;
    const CsvReadResult read = readSweepCsv(*bytes);
    if (!read.sweep) {
        tell(QStringLiteral("Cannot load %1, line %2: %3. Nothing was changed.")
                 .arg(shownPath(path))
                 .arg(read.line)
                 .arg(read.error));
        return;
    }
    show(*read.sweep, QFileInfo(path).fileName());
}

std::optional<QByteArray> CsvFiles::readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        tell(QStringLiteral("Cannot open %1: %2.").arg(shownPath(path), file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        tell(QStringLiteral("Cannot read %1: %2.").arg(shownPath(path), file.errorString()));
        return std::nullopt;
    }
    if (bytes.size() > kMaxFileBytes) {
        tell(QStringLiteral("Cannot load %1: it is larger than 64 MB, which no sweep file is. "
                            "Nothing was changed.")
                 .arg(shownPath(path)));
        return std::nullopt;
    }
    return bytes;
}

void CsvFiles::show(const CsvSweep& sweep, const QString& fileName) {
    // The texts the table shows, and the numbers behind them.
    QStringList freqTexts, levelTexts, rawTexts;
    QVector<double> levels, raws;
    for (const CsvPoint& p : sweep) {
        freqTexts << formatNumber(p.frequency, kFrequencyPicture);
        levelTexts << formatNumber(p.volts, kVoltPicture);
        rawTexts << numberToText(p.raw);
        levels << parseNumber(levelTexts.last()).value_or(p.volts);
        raws << p.raw;
    }

    // A file made with another detector calibration: its raw readings give other volts.
    const SweepConfig& cfg = m_ctx.config;
    const double expected =
        roundHalfEven(sweep[0].raw * double(cfg.adcStep) + double(cfg.adcOffset), 3);
    if (expected != levels[0]) {
        m_ctx.messages.beep();
        const bool adjust = m_ctx.messages.question(
            fileName,
            QStringLiteral("This file was created with a different ADC step or offset.\n"
                           "Press OK to adjust amplitude to the current configuration,\n"
                           "CANCEL to keep the original values."),
            QMessageBox::Warning);
        if (adjust) {
            SampleConverter volts;
            volts.prepare(0, cfg.adcStep, cfg.adcOffset);
            for (int i = 0; i < kCsvRows; ++i) {
                const SampleConverter::Point& v = volts.convert(raws[i]);
                levels[i] = v.level;
                levelTexts[i] = v.levelText;
            }
        }
    }

    emit aboutToLoad();
    const qint32 start = wholeHertz(freqTexts.constFirst(), sweep.front().frequency);
    const qint32 stop = wholeHertz(freqTexts.constLast(), sweep.back().frequency);
    // The sweep data finds a row by frequency from the first row and the spacing of the rows:
    // give it the file's. (The window's step divides the same range by 400, as a sweep does.)
    const auto spacing =
        static_cast<qint32>(roundHalfEven((double(stop) - double(start)) / (kCsvRows - 1)));
    SweepData& data = m_ctx.data;
    data.rebuild(start, spacing, true);
    for (int row = 1; row <= kCsvRows; ++row)
        data.setText(row, 0, freqTexts[row - 1]);
    data.setSweep(raws, levels, rawTexts, levelTexts);
    m_ctx.config.freqStart = start;
    m_ctx.config.freqStop = stop;
    emit loaded(start, stop);
}
