// Frequency entry, the range labels, view switching and the marker read-outs of the main window.
#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepGraph.h"
#include "SweepTable.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <cmath>

namespace {
const QString kFreqPicture = QStringLiteral("###,###,##0");

// Number typed by the user or read back from the table, in the user's locale; thousands
// separators are accepted.
std::optional<double> typedNumber(const QString& text) {
    return parseNumber(text, ParseFlag::AllowGroupSeparator);
}
} // namespace

QString frmSweep::formatFreq(qint32 f) const {
    return formatNumber(static_cast<double>(f), kFreqPicture);
}

bool frmSweep::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_graph && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, &frmSweep::placeScaleLabels);
        return false;
    }
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QMainWindow::eventFilter(watched, event);
    // Switching to another window is not an edit: only focus moves inside this window count.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return false;
    const bool in = event->type() == QEvent::FocusIn;
    if (field == txtStart || field == txtStop) {
        if (in)
            txtFreq_GotFocus(field);
        else
            txtFreq_LostFocus(field);
    } else if (field == txtM1X || field == txtM2X) {
        if (in) {
            if (const auto v = typedNumber(field->text()))
                field->setText(formatNumber(*v, QStringLiteral("General Number")));
        } else {
            aggiornaPosMarkerX(field == txtM1X ? QStringLiteral("M1") : QStringLiteral("M2"));
            aggiornaLblMarkerX();
        }
    } else if ((field == txtM3Y || field == txtM4Y) && !in) {
        aggiornaPosMarkerY();
        aggiornaLblMarkerY();
    }
    return false;
}

void frmSweep::txtFreq_GotFocus(QLineEdit* field) {
    const qint32 f = field == txtStart ? m_cfg.freqStart : m_cfg.freqStop;
    field->setText(formatNumber(static_cast<double>(f), QStringLiteral("General Number")));
}

void frmSweep::txtFreq_LostFocus(QLineEdit* field) {
    qint32& freq = field == txtStart ? m_cfg.freqStart : m_cfg.freqStop;
    double value = typedNumber(field->text()).value_or(static_cast<double>(freq));
    if (value < m_cfg.ddsMinFreq) {
        value = m_cfg.ddsMinFreq;
        m_messages->beep();
    } else if (value > m_cfg.ddsMaxFreq) {
        value = m_cfg.ddsMaxFreq;
        m_messages->beep();
    }
    freq = toInt32(value).value_or(freq);
    field->setText(formatFreq(freq));
    restartUpdateTimer();
    m_echoGuard = false;
}

void frmSweep::restartUpdateTimer() {
    timerUpdateSweep->stop();
    timerUpdateSweep->start();
}

void frmSweep::VScroll_Change(bool startRow, int index) {
    if (m_echoGuard)
        return;
    m_echoGuard = true;
    QScrollBar* bar = startRow ? VScrollStart[index] : VScrollStop[index];
    qint32& freq = startRow ? m_cfg.freqStart : m_cfg.freqStop;
    const qint64 inc = static_cast<qint64>(std::llround(std::pow(10.0, index)));
    // 64-bit arithmetic: the 100 MHz step near the top of the 32-bit range must not wrap.
    qint64 f = freq;
    if (bar->value() == 1)
        f += inc;
    else if (bar->value() == 3 && inc < f)
        f -= inc;
    if (startRow ? f <= m_cfg.ddsMinFreq : f < m_cfg.ddsMinFreq) {
        f = m_cfg.ddsMinFreq;
        m_messages->beep();
    }
    if (f > m_cfg.ddsMaxFreq) {
        f = m_cfg.ddsMaxFreq;
        m_messages->beep();
    }
    freq = static_cast<qint32>(f);
    bar->setValue(2);
    (startRow ? txtStart : txtStop)->setText(formatFreq(freq));
    restartUpdateTimer();
    m_echoGuard = false;
}

void frmSweep::aggiornaLblFrequenza() {
    calcolaStep();
    m_table->inizializzaGrid(m_cfg.freqStart, m_freqStep, m_cfg.scala, m_cfg.logEnabled);
    txtM1Y->setText(QStringLiteral("0"));
    txtM2Y->setText(QStringLiteral("0"));
    lblStart->setText(m_table->cellText(1, 0));
    lblStop->setText(m_table->cellText(NUMERO_CAMPIONI, 0));
    lblCentro->setText(m_table->cellText(NUMERO_CAMPIONI / 2, 0));
    const double first = typedNumber(lblStart->text()).value_or(0.0);
    const double last = typedNumber(lblStop->text()).value_or(0.0);
    const double points = m_freqStep != 0 ? roundHalfEven((last - first) / m_freqStep) : 0.0;
    lblCampioni->setText(QStringLiteral("N.Campioni ") + numberToTextBlank(points));
    m_graph->clearCurve();
}

void frmSweep::selezionaVista(int index) {
    if (index < 0 || index > 3)
        index = 0;
    for (int j = 0; j < 4; ++j) {
        mnuView[j]->setChecked(false);
        frameView[j]->hide();
        cmdView[j]->setEnabled(true);
    }
    mnuView[index]->setChecked(true);
    frameView[index]->show();
    cmdView[index]->setEnabled(false);
    m_vistaCorrente = static_cast<qint16>(index);
    aggiornaLblMarkerX();
    aggiornaLblMarkerY();
}

double frmSweep::levelToUser(double level) const {
    return m_cfg.scala == 0 ? level * 1000.0 : level * -1000.0;
}

void frmSweep::applyScale() {
    const int s = std::clamp<int>(m_cfg.scala, 0, 4);
    for (int i = 0; i < 5; ++i)
        mnuScala[i]->setChecked(i == s);
    const bool linear = s == 0;
    m_table->setCellText(0, 1, linear ? QStringLiteral("Volt") : QStringLiteral("dB"));
    // The value column follows the scale; it is always derivable from the raw counts.
    m_converter.prepare(s, m_cfg.adcStep, m_cfg.adcOffset);
    const QVector<double> raw = m_table->raws();
    QVector<double> level(raw.size());
    QStringList rawTexts;
    QStringList levelTexts;
    for (int i = 0; i < raw.size(); ++i) {
        rawTexts << m_table->cellText(i + 1, 2);
        const SampleConverter::Point& p = m_converter.convert(raw[i]);
        level[i] = p.level;
        // A freshly built table keeps its "0" until the first sweep.
        const bool fresh = rawTexts.last() == QStringLiteral("0") &&
                           m_table->cellText(i + 1, 1) == QStringLiteral("0");
        levelTexts << (fresh ? QStringLiteral("0") : p.levelText);
    }
    m_table->setSweep(raw, level, rawTexts, levelTexts);
    if (const auto v = typedNumber(txtMaxVolt->text()); v && *v > 0)
        m_cfg.maxScaleV = static_cast<float>(*v);
    if (const auto db = typedNumber(txtMaxDb->text()))
        m_cfg.maxScaleDb = toInt32(*db).value_or(m_cfg.maxScaleDb);
    const double fullDb = std::abs(leadingNumber(txtMaxDb->text()));
    Label5->setText(linear ? QStringLiteral("Volt") : QStringLiteral("dB"));
    Label15->setText(Label5->text());
    if (linear)
        m_graph->setUserScale(998.0 * m_cfg.maxScaleV, -1000.0 * m_cfg.maxScaleV);
    else if (s == 1 || s == 3)
        m_graph->setUserScale(0.0, 1000.0 * std::max(fullDb, 1.0));
    else
        m_graph->setUserScale(-10000.0, 1000.0 * (fullDb + 10.0));
    placeScaleLabels();
    aggiornaPosMarkerY();
    aggiornaLblMarkerX();
    timerGrafico_Timer();
}

void frmSweep::placeScaleLabels() {
    const int s = std::clamp<int>(m_cfg.scala, 0, 4);
    const double h = m_graph->height();
    const double fullDb = std::max(std::abs(leadingNumber(txtMaxDb->text())), 1.0);
    for (int k = 0; k < 11; ++k) {
        double value = 0;
        double y = 0;
        bool shown = true;
        if (s == 0) {
            shown = k >= 1 && k <= 4;
            value = m_cfg.maxScaleV - m_cfg.maxScaleV * k / 4.0;
            y = k * h / 4.0;
        } else {
            const bool plus10 = s == 2 || s == 4;
            shown = k <= 9;
            value = (plus10 ? 10.0 : 0.0) - 10.0 * k;
            y = k * h * 10.0 / (plus10 ? fullDb + 10.0 : fullDb);
        }
        shown = shown && y <= h + 1;
        QLabel* l = lblVolt[k];
        l->setText(formatNumber(value, s == 0 ? QStringLiteral("#0.00") : QStringLiteral("#0.0")));
        l->adjustSize();
        l->setFixedWidth(38);
        // Centred on its division; the end labels are kept inside the column.
        const double top = std::clamp(y - l->height() / 2.0, 0.0, std::max(0.0, h - l->height()));
        l->move(0, static_cast<int>(top));
        l->setVisible(shown);
    }
}

void frmSweep::aggiornaPosMarkerX(const QString& name) {
    QLineEdit* box = name == QStringLiteral("M1") ? txtM1X : txtM2X;
    const qint32 f = toInt32(typedNumber(box->text()).value_or(0.0)).value_or(0);
    int row = 1;
    while (row < NUMERO_CAMPIONI && typedNumber(m_table->cellText(row, 0)).value_or(0.0) < f)
        ++row;
    m_graph->setMarkerX(name == QStringLiteral("M1") ? 0 : 1, row);
}

void frmSweep::aggiornaLblMarkerX() {
    double f[2] = {0, 0};
    QLineEdit* xBox[2] = {txtM1X, txtM2X};
    QLineEdit* yBox[2] = {txtM1Y, txtM2Y};
    for (int m = 0; m < 2; ++m) {
        const int row =
            std::clamp(static_cast<int>(roundHalfEven(m_graph->markerX(m))), 1, NUMERO_CAMPIONI);
        xBox[m]->setText(m_table->cellText(row, 0));
        yBox[m]->setText(m_table->cellText(row, 1));
        f[m] = typedNumber(xBox[m]->text()).value_or(0.0);
    }
    txtM2M1->setText(formatNumber(std::abs(f[1] - f[0]), QStringLiteral("###,##0")));
}

void frmSweep::aggiornaPosMarkerY() {
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m)
        m_graph->setMarkerY(m, levelToUser(typedNumber(boxes[m]->text()).value_or(0.0)));
}

void frmSweep::aggiornaLblMarkerY() {
    const bool linear = m_cfg.scala == 0;
    const QString picture = linear ? QStringLiteral("#0.000") : QStringLiteral("#0.0");
    double level[2];
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m) {
        level[m] = linear ? m_graph->markerY(m) / 1000.0 : -m_graph->markerY(m) / 1000.0;
        boxes[m]->setText(formatNumber(level[m], picture));
    }
    txtM4M3->setText(formatNumber(level[1] - level[0], picture));
}

void frmSweep::copyMarkerToRange(bool toStart) {
    const auto f = toInt32(typedNumber((toStart ? txtM1X : txtM2X)->text()).value_or(0.0));
    if (!f)
        return;
    (toStart ? m_cfg.freqStart : m_cfg.freqStop) = *f;
    (toStart ? txtStart : txtStop)->setText(formatFreq(*f));
    restartUpdateTimer();
}

void frmSweep::showHelp() {
    if (!m_help) {
        m_help = new QTextBrowser;
        m_help->setObjectName(QStringLiteral("Main"));
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        m_help->setWindowTitle(QStringLiteral("Sweep Generator - Help"));
        m_help->resize(640, 520);
        m_help->setSource(QUrl::fromLocalFile(QApplication::applicationDirPath() +
                                              QStringLiteral("/help/index.html")));
    }
    m_help->show();
    m_help->raise();
}
