// The graph in the window, driven as a user does: the scale menu converting the markers and
// the table, the full-scale boxes, markers placed by typed frequencies and by clicks, the
// "Linked" cursor, and the File menu's sweep file and picture of the graph.
#include "CsvFiles.h"
#include "NumberFormat.h"
#include "SweepData.h"
#include "SweepFixture.h"
#include "SweepGraph.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
QString local(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
QString grouped(double f) {
    return formatNumber(f, QStringLiteral("###,###,##0"));
}
// One sweep of the given raw counts, element 0 unused as the devices send it.
QVector<double> sweepOf(const std::function<double(int)>& count) {
    QVector<double> v(401);
    for (int i = 1; i <= 400; ++i)
        v[i] = count(i);
    return v;
}
} // namespace

class TestFrmSweepGraph : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    frmSweep* openShown(const QString& sweepSection) {
        m_fx = std::make_unique<SweepFixture>();
        return m_fx->openShown(SweepFixture::noDeviceIni(sweepSection));
    }
    template <typename T> T* child(const char* name) {
        return m_fx->window->findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* name) { return child<QLineEdit>(name)->text(); }
    void pick(const char* menuItem) { child<QAction>(menuItem)->trigger(); }
    // Types into a field and tabs out of it, with real focus.
    void typeAndLeave(const char* name, const QString& value) {
        QLineEdit* field = child<QLineEdit>(name);
        QTest::mouseClick(field, Qt::LeftButton);
        QVERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, value);
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(!field->hasFocus());
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window)
            m_fx->window->close();
        m_fx.reset();
    }

    void scaleMenuConvertsMarkersTableAndLabels() {
        frmSweep* w = openShown(QStringLiteral("Marker 3=1\nMarker 4=0\n"));
        QVERIFY(w);
        w->datiDDS(sweepOf([](int) { return 200.0; })); // 200 x 5 mV = 1.000 V
        QCOMPARE(w->data()->text(7, 1), local("1.000"));

        pick("mnuScalaLogaritmica10");
        QCOMPARE(text("txtM3Y"), local("-20.0"));
        QCOMPARE(text("txtM4Y"), local("-100.0"));
        QCOMPARE(text("txtM4M3"), local("-80.0")); // both negative: M4 - M3
        QCOMPARE(w->data()->text(0, 1), QStringLiteral("dB"));
        QCOMPARE(w->data()->text(7, 1), local("-20.0"));
        QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("dB"));
        QCOMPARE(child<QLabel>("Label15")->text(), QStringLiteral("dB"));
        QVERIFY(child<QAction>("mnuScalaLogaritmica10")->isChecked());
        QVERIFY(!child<QAction>("mnuScalaLineare")->isChecked());
        QVERIFY(child<QLineEdit>("txtMaxDb")->isVisible());
        QVERIFY(!child<QLineEdit>("txtMaxVolt")->isVisible());
        QCOMPARE(child<QLabel>("lblVolt_10")->text(), QStringLiteral("(Vref 10V)"));
        QVERIFY(child<QLabel>("lblVolt_10")->isVisible());
        // -40 dB: labels 0.0 .. -30.0 inside; -40.0 is where the box stands; -50.0 on are
        // below the picture.
        QCOMPARE(child<QLabel>("lblVolt_3")->text(), local("-30.0"));
        QVERIFY(child<QLabel>("lblVolt_3")->isVisible());
        QVERIFY(!child<QLabel>("lblVolt_5")->isVisible());
        QVERIFY(w->graph()->accessibleDescription().contains(QStringLiteral("Logarithmic (10V)")));

        pick("mnuScalaLogaritmica1");
        QCOMPARE(text("txtM3Y"), local("0.0"));
        QCOMPARE(w->data()->text(7, 1), local("0.0"));
        QCOMPARE(child<QLabel>("lblVolt_10")->text(), QStringLiteral("(Vref 1V)"));

        pick("mnuScalaLineare");
        QCOMPARE(text("txtM3Y"), local("1.000"));
        QCOMPARE(text("txtM4Y"), local("0.000"));
        QCOMPARE(w->data()->text(0, 1), QStringLiteral("Volt"));
        QCOMPARE(child<QLabel>("lblVolt_4")->text(), local("0.00"));
        QVERIFY(!child<QLabel>("lblVolt_10")->isVisible());
        QVERIFY(child<QLineEdit>("txtMaxVolt")->isVisible());
        QCOMPARE(w->graph()->curvePointCount(), 400);
    }

    // A row never swept holds the count 0; after a scale switch the table, the M1 box, the
    // curve and the "Linked" cursor all read that count's level (0.25 V of offset here).
    void neverSweptRowsReadAlikeAfterAScaleSwitch() {
        m_fx = std::make_unique<SweepFixture>();
        QString ini = SweepFixture::noDeviceIni(
            QStringLiteral("Start=1000000\nStop=5000000\nMarker 1=1160000\nCursor mode=1\n"));
        ini.replace(QStringLiteral("ADC Offset=0\n"), QStringLiteral("ADC Offset=0.25\n"));
        frmSweep* w = m_fx->openShown(ini);
        QVERIFY(w);
        SweepGraph* g = w->graph();
        // "Sweep ON" rebuilds the table: "0" in every row until a sweep or a scale switch.
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(0));
        QCOMPARE(w->data()->text(17, 1), QStringLiteral("0"));

        struct Expected {
            const char* item;
            const char* text;
            double y;
        };
        // 0.25 V is -12.04 dB relative to 1 V and -32.04 dB relative to 10 V.
        for (const Expected& e : {Expected{"mnuScalaLogaritmica1", "-12.0", 12040.0},
                                  Expected{"mnuScalaLogaritmica10dB", "-32.0", 32040.0},
                                  Expected{"mnuScalaLineare", "0.250", 250.0}}) {
            pick(e.item);
            QCOMPARE(text("txtM1X"), grouped(1160000));
            QCOMPARE(w->data()->text(17, 1), local(e.text));
            QCOMPARE(text("txtM1Y"), local(e.text));
            QCOMPARE(g->curvePointCount(), 400);
            QCOMPARE(g->curveY(17), e.y);
            emit g->mouseMoved(17.0, 0.0);
            QCOMPARE(text("txtY"), local(e.text));
            QCOMPARE(g->crossY(), e.y);
        }
    }

    void fullScaleBoxesCorrectWhatIsTyped() {
        frmSweep* w = openShown(QString());
        QVERIFY(w);
        w->datiDDS(sweepOf([](int i) { return double(i); }));
        w->graph()->drawLine(QVector<double>(400, 0.0));
        const int beeps = m_fx->messages.beeps;
        typeAndLeave("txtMaxVolt", QStringLiteral("12"));
        QCOMPARE(text("txtMaxVolt"), local("10.00"));
        QCOMPARE(m_fx->messages.beeps, beeps + 1);
        QCOMPARE(w->config().maxScaleV, 10.0f);
        QCOMPARE(w->graph()->frame().top, 9980.0);
        QCOMPARE(w->graph()->curvePointCount(), 0); // until the next drawing

        pick("mnuScalaLogaritmica1");
        typeAndLeave("txtMaxDb", QStringLiteral("40"));
        QCOMPARE(text("txtMaxDb"), local("-40.0"));
        QCOMPARE(m_fx->messages.beeps, beeps + 1);
        typeAndLeave("txtMaxDb", QStringLiteral("-120"));
        QCOMPARE(text("txtMaxDb"), local("-90.0"));
        QCOMPARE(m_fx->messages.beeps, beeps + 2);
        QCOMPARE(w->config().maxScaleDb, -90);
        QCOMPARE(w->graph()->frame().height, 90000.0);
        // 0 dB is accepted and still draws a range.
        typeAndLeave("txtMaxDb", QStringLiteral("0"));
        QCOMPARE(w->config().maxScaleDb, 0);
        QCOMPARE(w->graph()->frame().height, 10000.0);
    }

    void markersFollowTypedFrequenciesAndClicks() {
        frmSweep* w = openShown(QStringLiteral("Start=1000000\nStop=5000000\n"));
        QVERIFY(w);
        QCOMPARE(w->freqStep(), 10000);
        typeAndLeave("txtM1X", QStringLiteral("1005000"));
        QCOMPARE(w->graph()->markerX(0), 2.0);
        QCOMPARE(text("txtM1X"), grouped(1010000));
        typeAndLeave("txtM1X", QStringLiteral("0"));
        QCOMPARE(w->graph()->markerX(0), 1.0);
        typeAndLeave("txtM2X", QStringLiteral("99999999999"));
        QCOMPARE(w->graph()->markerX(1), 400.0);
        QCOMPARE(text("txtM2X"), grouped(4990000));
        const int beeps = m_fx->messages.beeps;
        typeAndLeave("txtM1X", QStringLiteral("abc"));
        QCOMPARE(m_fx->messages.beeps, beeps + 1);
        QCOMPARE(text("txtM1X"), grouped(1000000));
        QCOMPARE(text("txtM2M1"), formatNumber(3990000, QStringLiteral("###,##0")));

        SweepGraph* g = w->graph();
        emit g->mouseReleased(Qt::RightButton, {}, 2.6, 0);
        QCOMPARE(g->markerX(1), 3.0);
        emit g->mouseReleased(Qt::LeftButton, {}, 0.4, 0);
        QCOMPARE(g->markerX(0), 1.0);
        emit g->mouseReleased(Qt::RightButton, {}, 399.5, 0);
        QCOMPARE(g->markerX(1), 400.0);
        emit g->mouseReleased(Qt::LeftButton, {}, -35.0, 0); // dragged out of the picture
        QCOMPARE(g->markerX(0), 1.0);
        // Linear scale: y is millivolts. Ctrl+right sets M4, Alt or Shift+Ctrl do nothing.
        emit g->mouseReleased(Qt::RightButton, Qt::ControlModifier, 100, 512.4);
        QCOMPARE(text("txtM4Y"), local("0.512"));
        QCOMPARE(g->markerY(1), 512.0);
        emit g->mouseReleased(Qt::LeftButton, Qt::AltModifier, 100, 900);
        emit g->mouseReleased(Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, 100, 900);
        QCOMPARE(g->markerX(0), 1.0);
        QCOMPARE(text("txtM3Y"), local("0.000"));
        // A real click in the middle of the picture lands on the middle point.
        QTest::mouseClick(g, Qt::LeftButton, {}, QPoint(g->width() / 2, g->height() / 2));
        QVERIFY(qAbs(g->markerX(0) - 200.0) <= 1.0);
        // Levels typed beyond the picture are simply not visible.
        typeAndLeave("txtM3Y", QStringLiteral("-7"));
        QCOMPARE(text("txtM3Y"), local("7.000"));
        QCOMPARE(g->markerY(0), 7000.0);
        QVERIFY(!child<QLabel>("lblM3")->isVisible());
    }

    void labelsStayOnTheirDivisionsWhenTheWindowGrows() {
        frmSweep* w = openShown(QStringLiteral("Scale=1\n"));
        QVERIFY(w);
        SweepGraph* g = w->graph();
        const int before = g->height();
        w->resize(1200, 900);
        QTRY_VERIFY(g->height() > before + 200);
        // -10.0 dB is a quarter down the picture on a -40 dB full scale.
        QLabel* label = child<QLabel>("lblVolt_1");
        const int division = g->mapTo(w, QPoint(0, g->height() / 4)).y();
        QTRY_VERIFY(qAbs(label->mapTo(w, label->rect().center()).y() - division) <= 2);
        QVERIFY(label->isVisible());
        QLabel* reference = child<QLabel>("lblVolt_10");
        QCOMPARE(reference->y(), child<QLabel>("lblVolt_0")->y() + reference->height());
    }

    void fileMenuSavesVoltsLoadsBackAndExportsThePicture() {
        frmSweep* w =
            openShown(QStringLiteral("Scale=1\nStart=1000000\nStop=5000000\nMarker 3=-6\n"));
        QVERIFY(w);
        w->datiDDS(sweepOf([](int i) { return double(i % 700); }));
        const QString row9 = w->data()->text(9, 1);
        const QString path = m_fx->ini.filePath(QStringLiteral("sweep.csv"));
        w->csvFiles()->setChooser([&](bool, const QString&) { return path; });

        pick("mnuSaveCSV"); // the file holds volts: the display switches first
        QVERIFY(child<QAction>("mnuScalaLineare")->isChecked());
        QCOMPARE(text("txtM3Y"), local("0.501")); // -6 dB kept as the same level
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 401);

        pick("mnuScalaLogaritmica1");
        QCOMPARE(w->data()->text(9, 1), row9);
        w->datiDDS(sweepOf([](int) { return 3.0; }));
        child<QLineEdit>("txtStart")->setText(QStringLiteral("7"));
        const int drawn = w->graph()->drawLineCount();
        pick("mnuOpenCSV");
        QCOMPARE(m_fx->messages.shown.size(), 0);
        QCOMPARE(w->data()->text(9, 2), QStringLiteral("9"));
        QCOMPARE(w->data()->text(9, 1), local("0.045"));
        QCOMPARE(text("txtStart"), grouped(1000000));
        QCOMPARE(child<QLabel>("lblCentro")->text(), grouped(2995000));
        QVERIFY(w->graph()->drawLineCount() > drawn);

        const QString png = m_fx->ini.filePath(QStringLiteral("graph.png"));
        QVERIFY(w->exportPicture(png));
        const QImage picture(png);
        QCOMPARE(picture.size(), w->graph()->size() * w->graph()->devicePixelRatioF());
        QCOMPARE(picture.pixelColor(2, picture.height() / 2 + 3), QColor(0, 0, 0));
        QVERIFY(!w->exportPicture(m_fx->ini.filePath(QStringLiteral("no/such/graph.png"))));
        QVERIFY(m_fx->messages.lastText().startsWith(QStringLiteral("Cannot save ")));
    }

    void linkedPreferenceShowsTheCrossAtOnce() {
        frmSweep* w = openShown(QString());
        QVERIFY(w);
        QVERIFY(!w->graph()->crossVisible());
        bool answered = false;
        QTimer::singleShot(0, w, [&answered] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            dialog->findChild<QRadioButton*>(QStringLiteral("optCursor_1"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
            answered = true;
        });
        pick("mnuPreferences");
        QVERIFY(answered);
        QCOMPARE(w->config().cursorMode, qint16(1));
        QVERIFY(w->graph()->crossVisible());
        QVERIFY(m_fx->ini.read().contains(QStringLiteral("Cursor mode=1")));
    }

    void linkedCursorFollowsTheCurve() {
        frmSweep* w = openShown(QStringLiteral("Cursor mode=1\nScale=1\n"));
        QVERIFY(w);
        SweepGraph* g = w->graph();
        QVERIFY(g->crossVisible());
        w->datiDDS(sweepOf([](int i) { return i == 120 ? 100.0 : 200.0; })); // 0.5 V at 120
        emit g->mouseMoved(120.3, 2000.0); // the pointer at -2 dB, the curve at -6.0
        QCOMPARE(text("txtX"), w->data()->text(120, 0));
        QCOMPARE(text("txtY"), local("-6.0"));
        QCOMPARE(g->crossY(), 6020.0); // 0.5 V is -6.02 dB

        emit g->mouseReleased(Qt::LeftButton, Qt::ShiftModifier, 120.3, 2000.0);
        QCOMPARE(text("txtM3Y"), local("-6.0"));
        QCOMPARE(g->markerY(0), 6000.0); // rounded to the digits shown
    }
};

QTEST_MAIN(TestFrmSweepGraph)
#include "tst_frmsweep_graph.moc"
