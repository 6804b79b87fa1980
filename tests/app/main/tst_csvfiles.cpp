// The File menu's sweep files as the menu drives them, with the dialogs and the messages
// replaced: a saved sweep comes back the same, a file of another calibration asks first, and a
// failed load or save changes nothing and says why.
#include "CsvFiles.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepFixture.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
// The file dialogs, answered with `file` (empty: Cancel).
class AnsweredFiles : public CsvFiles {
public:
    using CsvFiles::CsvFiles;
    QString file;
    QStringList folders; // where each dialog opened

protected:
    QString chooseSaveFile(const QString& folder) override { return choose(folder); }
    QString chooseOpenFile(const QString& folder) override { return choose(folder); }

private:
    QString choose(const QString& folder) {
        folders << folder;
        return file;
    }
};

QString volts(double v) {
    return QLocale().toString(v, 'f', 3);
}
} // namespace

class TestCsvFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    SweepConfig m_cfg;
    SweepData m_data;
    TestMessages m_messages;
    QWidget m_window;
    SweepContext m_ctx{m_cfg, nullptr, m_data, m_messages};
    AnsweredFiles m_files{m_ctx, &m_window};

    QStringList cells() const {
        QStringList all;
        for (int row = 0; row <= SweepData::kPoints; ++row)
            for (int col = 0; col < SweepData::kColumns; ++col)
                all << m_data.text(row, col);
        return all;
    }
    void writeFile(const QString& name, int dataLines, int raw, int millivolts) {
        QFile f(m_dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"Sample N\",\"Frequency\",\"DAC sample\",\"milliVolt\"\r\n");
        for (int i = 1; i <= dataLines; ++i)
            f.write(QByteArray::number(i) + ',' + QByteArray::number(2000000 + 1000 * i) + ',' +
                    QByteArray::number(raw) + ',' + QByteArray::number(millivolts) + "\r\n");
    }

private slots:
    void init() {
        m_cfg.adcStep = 0.005f;
        m_cfg.adcOffset = 0;
        m_cfg.freqStart = 1000000;
        m_cfg.freqStop = 5000000;
        m_data.rebuild(1000000, 10000, true);
        QVector<double> raw;
        for (int i = 0; i < SweepData::kPoints; ++i)
            raw << 100 + i;
        m_data.setReadings(raw, 0, m_cfg.adcStep, m_cfg.adcOffset);
        m_messages.shown.clear();
        m_messages.asked.clear();
        m_messages.beeps = 0;
    }

    void exportThenImportGivesBackTheSweep() {
        const QStringList saved = cells();
        m_files.file = m_dir.filePath(QStringLiteral("sweep.csv"));
        bool switchedFirst = false;
        // Connected for this case only: the local it writes ends with the case.
        const QMetaObject::Connection watch = connect(&m_files, &CsvFiles::aboutToSave, this, [&] {
            switchedFirst = !QFile::exists(m_files.file);
        });
        m_files.mnuSaveCSV_Click();
        disconnect(watch);
        QVERIFY(switchedFirst);
        QFile f(m_files.file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().split('\n').value(1), QByteArray("1,1000000,100,500\r"));

        m_data.rebuild(3000000, 5000, true);
        QSignalSpy loaded(&m_files, &CsvFiles::loaded);
        QSignalSpy switched(&m_files, &CsvFiles::aboutToLoad);
        m_files.mnuOpenCSV_Click();
        QCOMPARE(m_files.folders.last(), m_dir.path());
        QCOMPARE(cells(), saved);
        QCOMPARE(m_data.freqStep(), 10000);
        QCOMPARE(switched.count(), 1);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(loaded[0], (QList<QVariant>{1000000, 4990000}));
        QCOMPARE(m_cfg.freqStop, 4990000);
        QVERIFY(m_messages.asked.isEmpty() && m_messages.shown.isEmpty());

        // Cancel loads nothing, not even the file chosen last.
        m_data.rebuild(3000000, 5000, true);
        const QStringList rebuilt = cells();
        m_files.file.clear();
        m_files.mnuOpenCSV_Click();
        QCOMPARE(cells(), rebuilt);
        QCOMPARE(loaded.count(), 1);
    }

    void anotherCalibrationAsksAndFollowsTheAnswer() {
        writeFile(QStringLiteral("other.csv"), 400, 100, 999);
        m_files.file = m_dir.filePath(QStringLiteral("other.csv"));
        m_messages.answer = false;
        m_files.mnuOpenCSV_Click();
        QCOMPARE(m_messages.asked.size(), 1);
        QCOMPARE(m_messages.asked[0].title, QStringLiteral("other.csv"));
        QCOMPARE(m_messages.asked[0].text,
                 QStringLiteral("This file was created with a different ADC step or offset.\n"
                                "Press OK to adjust amplitude to the current configuration,\n"
                                "CANCEL to keep the original values."));
        QCOMPARE(m_messages.asked[0].icon, QMessageBox::Warning);
        QCOMPARE(m_data.text(1, 1), volts(0.999));
        QCOMPARE(m_cfg.freqStart, 2001000);

        m_messages.answer = true;
        m_files.mnuOpenCSV_Click();
        QCOMPARE(m_data.text(1, 1), volts(0.5));
        QCOMPARE(m_data.text(400, 1), volts(0.5));
        QCOMPARE(m_data.level(400), 0.5);
    }

    void failedLoadOrSaveChangesNothingAndSaysWhy() {
        const QStringList before = cells();
        writeFile(QStringLiteral("short.csv"), 399, 100, 500);
        m_files.file = m_dir.filePath(QStringLiteral("short.csv"));
        QSignalSpy switched(&m_files, &CsvFiles::aboutToLoad);
        m_files.mnuOpenCSV_Click();
        QCOMPARE(cells(), before);
        QCOMPARE(m_cfg.freqStart, 1000000);
        QCOMPARE(switched.count(), 0);
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY(m_messages.lastText().contains(m_files.file));
        QVERIFY(m_messages.lastText().contains(QStringLiteral("line 401")));

        m_files.file = m_dir.filePath(QStringLiteral("missing/sweep.csv"));
        m_files.mnuSaveCSV_Click();
        QCOMPARE(m_messages.shown.size(), 2);
        QVERIFY(m_messages.lastText().contains(m_files.file));
        QCOMPARE(m_messages.beeps, 2);
    }
};

QTEST_MAIN(TestCsvFiles)
#include "tst_csvfiles.moc"
