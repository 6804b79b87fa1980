#include "ScaleControls.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepGraph.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

ScaleControls::ScaleControls(SweepConfig& config, SweepData* data, SweepGraph* graph,
                             QWidget* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_graph(graph) {
    // Scale labels stand in a column left of the picture, centred on their divisions.
    m_column = new QWidget(parent);
    m_column->setObjectName(QStringLiteral("frameScaleLabels"));
    m_column->setFixedWidth(40);
    for (int i = 0; i < 11; ++i) {
        lblVolt[i] = makeLabel(QStringLiteral("lblVolt_%1").arg(i), QString(), m_column);
        lblVolt[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblVolt[i]->setFixedWidth(38);
        lblVolt[i]->hide();
    }
    m_graph->installEventFilter(this);

    m_box = new QGroupBox(QStringLiteral("Full scale"), parent);
    m_box->setObjectName(QStringLiteral("frameFullScale"));
    auto* row = new QHBoxLayout(m_box);
    txtMaxVolt = makeField(QStringLiteral("txtMaxVolt"), QStringLiteral("Full scale in volts"),
                           false, m_box);
    txtMaxDb =
        makeField(QStringLiteral("txtMaxDb"), QStringLiteral("Full scale in dB"), false, m_box);
    row->addWidget(txtMaxVolt);
    row->addWidget(makeLabel(QStringLiteral("lblMaxVolt"), QStringLiteral("V"), m_box));
    row->addWidget(txtMaxDb);
    row->addWidget(makeLabel(QStringLiteral("lblMaxDb"), QStringLiteral("dB"), m_box));
    connect(txtMaxVolt, &QLineEdit::editingFinished, this, &ScaleControls::edited);
    connect(txtMaxDb, &QLineEdit::editingFinished, this, &ScaleControls::edited);
}

bool ScaleControls::eventFilter(QObject* watched, QEvent* event) {
    // The labels follow the picture's height; placed once the layout has settled.
    if (watched == m_graph && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &ScaleControls::placeLabels);
    return false;
}

void ScaleControls::showStored() {
    txtMaxVolt->setText(numberToText(m_cfg.maxScaleV));
    txtMaxDb->setText(numberToText(m_cfg.maxScaleDb));
}

void ScaleControls::apply() {
    const int s = std::clamp<int>(m_cfg.scala, 0, 4);
    const bool linear = s == 0;
    m_data->setText(0, 1, linear ? QStringLiteral("Volt") : QStringLiteral("dB"));
    // The value column follows the scale; it is always derivable from the raw counts.
    m_converter.prepare(s, m_cfg.adcStep, m_cfg.adcOffset);
    const QVector<double>& raw = m_data->raws();
    QVector<double> level(raw.size());
    QStringList rawTexts;
    QStringList levelTexts;
    for (int i = 0; i < raw.size(); ++i) {
        rawTexts << m_data->text(i + 1, 2);
        const SampleConverter::Point& p = m_converter.convert(raw[i]);
        level[i] = p.level;
        // A freshly built table keeps its "0" until the first sweep.
        const bool fresh =
            rawTexts.last() == QStringLiteral("0") && m_data->text(i + 1, 1) == QStringLiteral("0");
        levelTexts << (fresh ? QStringLiteral("0") : p.levelText);
    }
    m_data->setSweep(raw, level, rawTexts, levelTexts);
    const auto typed = [](const QLineEdit* e) {
        return parseNumber(e->text(), ParseFlag::AllowGroupSeparator);
    };
    if (const auto v = typed(txtMaxVolt); v && *v > 0)
        m_cfg.maxScaleV = static_cast<float>(*v);
    if (const auto db = typed(txtMaxDb))
        m_cfg.maxScaleDb = toInt32(*db).value_or(m_cfg.maxScaleDb);
    const double fullDb = std::abs(leadingNumber(txtMaxDb->text()));
    if (linear)
        m_graph->setUserScale(998.0 * m_cfg.maxScaleV, -1000.0 * m_cfg.maxScaleV);
    else if (s == 1 || s == 3)
        m_graph->setUserScale(0.0, 1000.0 * std::max(fullDb, 1.0));
    else
        m_graph->setUserScale(-10000.0, 1000.0 * (fullDb + 10.0));
    placeLabels();
}

void ScaleControls::placeLabels() {
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
