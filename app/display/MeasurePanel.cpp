#include "MeasurePanel.h"

#include "AnalysisText.h"
#include "DisplayWidgets.h"
#include "SweepData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {
constexpr std::array<FilterType, 4> kTypes = {FilterType::BandPass, FilterType::BandStop,
                                              FilterType::LowPass, FilterType::HighPass};
} // namespace

MeasurePanel::MeasurePanel(SweepData* data, QWidget* parent)
    : QObject(parent), m_data(data), m_panel(new QWidget(parent)) {
    // Eleven rows in the height of the marker view: the two choices share a row, and so do
    // the two buttons.
    auto* g = new QGridLayout(m_panel);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(1);
    addChoices(g);
    addFigures(g);
    addButtons(g);
    g->setRowStretch(11, 1);
    g->setColumnStretch(1, 1);

    connect(cboFilterType, &QComboBox::currentIndexChanged, this, &MeasurePanel::recompute);
    connect(cboLevel, &QComboBox::currentIndexChanged, this, &MeasurePanel::recompute);
    connect(cmdPeakM1, &QPushButton::clicked, this, &MeasurePanel::peakToM1);
    connect(cmdEdgesM1M2, &QPushButton::clicked, this, &MeasurePanel::edgesToMarkers);
    connect(chkTrackPeak, &QCheckBox::toggled, this, [this](bool on) {
        if (on && m_result.peakHz)
            emit placeMarker(0, nearestRow(*m_result.peakHz));
    });
    connect(m_data, &SweepData::changed, this, [this] {
        recompute();
        if (chkTrackPeak->isChecked() && m_result.peakHz)
            emit placeMarker(0, nearestRow(*m_result.peakHz));
    });
    recompute();
}

void MeasurePanel::addChoices(QGridLayout* g) {
    cboFilterType = new QComboBox(m_panel);
    cboFilterType->setObjectName(QStringLiteral("cboFilterType"));
    cboFilterType->setAccessibleName(QStringLiteral("Filter type"));
    cboFilterType->setToolTip(QStringLiteral("Filter type"));
    for (FilterType t : kTypes)
        cboFilterType->addItem(filterTypeCaption(t));
    cboLevel = new QComboBox(m_panel);
    cboLevel->setObjectName(QStringLiteral("cboLevel"));
    cboLevel->setAccessibleName(QStringLiteral("Level"));
    cboLevel->setToolTip(QStringLiteral("Level of the edges, below the peak or the pass band"));
    for (double level : kAnalysisLevels)
        cboLevel->addItem(QStringLiteral("%1 dB").arg(level));
    // Sized by their items' length rather than their widest item, so the row fits the column.
    cboFilterType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboFilterType->setMinimumContentsLength(8);
    cboLevel->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboLevel->setMinimumContentsLength(5);
    auto* choices = new QHBoxLayout;
    choices->setSpacing(4);
    choices->addWidget(cboFilterType, 3);
    choices->addWidget(cboLevel, 2);
    g->addLayout(choices, 0, 0, 1, 2);
}

void MeasurePanel::addFigures(QGridLayout* g) {
    const QStringList names{QStringLiteral("txtPeakFreq"),  QStringLiteral("txtPeakLevel"),
                            QStringLiteral("txtLowerFreq"), QStringLiteral("txtUpperFreq"),
                            QStringLiteral("txtBandwidth"), QStringLiteral("txtCentreFreq"),
                            QStringLiteral("txtQ"),         QStringLiteral("txtShapeFactor")};
    // The column is narrow: the captions are short, the fields keep the figures' full names.
    const QStringList shortCaptions{QStringLiteral("Peak freq."),  QStringLiteral("Peak level"),
                                    QStringLiteral("Lower freq."), QStringLiteral("Upper freq."),
                                    QStringLiteral("Bandwidth"),   QStringLiteral("Centre freq."),
                                    QStringLiteral("Q"),           QStringLiteral("Shape factor")};
    const QVector<ResultLine> captions = resultLines(FilterResult{});
    for (int i = 0; i < int(txtResult.size()); ++i) {
        txtResult[i] = makeField(names[i], captions[i].caption, true, m_panel);
        txtResult[i]->setToolTip(captions[i].caption);
        txtResult[i]->setFixedHeight(txtResult[i]->fontMetrics().height() + 4);
        auto* label =
            makeLabel(names[i].mid(3).prepend(QStringLiteral("lbl")), shortCaptions[i], m_panel);
        label->setBuddy(txtResult[i]);
        g->addWidget(label, 1 + i, 0);
        g->addWidget(txtResult[i], 1 + i, 1);
    }
}

void MeasurePanel::addButtons(QGridLayout* g) {
    cmdPeakM1 = new QPushButton(QStringLiteral("Peak -> M1"), m_panel);
    cmdPeakM1->setObjectName(QStringLiteral("cmdPeakM1"));
    cmdEdgesM1M2 = new QPushButton(QStringLiteral("Edges -> M1/M2"), m_panel);
    cmdEdgesM1M2->setObjectName(QStringLiteral("cmdEdgesM1M2"));
    // Narrow paddings: both captions fit the column side by side.
    for (QPushButton* b : {cmdPeakM1, cmdEdgesM1M2})
        b->setStyleSheet(QStringLiteral("padding: 2px 1px;"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(cmdPeakM1);
    buttons->addWidget(cmdEdgesM1M2);
    g->addLayout(buttons, 9, 0, 1, 2);
    chkTrackPeak = new QCheckBox(QStringLiteral("Track peak"), m_panel);
    chkTrackPeak->setObjectName(QStringLiteral("chkTrackPeak"));
    g->addWidget(chkTrackPeak, 10, 0, 1, 2);
}

void MeasurePanel::recompute() {
    const int type = std::max(0, cboFilterType->currentIndex());
    const int level = std::max(0, cboLevel->currentIndex());
    m_result = analyseFilter(m_data->frequenciesHz(), m_data->levelsDb(), kTypes[type],
                             kAnalysisLevels[level]);
    const QVector<ResultLine> lines = resultLines(m_result);
    for (int i = 0; i < int(txtResult.size()); ++i)
        txtResult[i]->setText(lines[i].value);
}

int MeasurePanel::nearestRow(double hz) const {
    int best = 1;
    for (int row = 2; row <= SweepData::kPoints; ++row) {
        if (std::abs(double(m_data->frequencyOf(row)) - hz) <
            std::abs(double(m_data->frequencyOf(best)) - hz))
            best = row;
    }
    return best;
}

void MeasurePanel::peakToM1() {
    if (!m_result.peakHz) {
        emit beepRequested();
        return;
    }
    emit placeMarker(0, nearestRow(*m_result.peakHz));
}

void MeasurePanel::edgesToMarkers() {
    if (!m_result.lowerHz && !m_result.upperHz) {
        emit beepRequested();
        return;
    }
    if (m_result.lowerHz)
        emit placeMarker(0, nearestRow(*m_result.lowerHz));
    if (m_result.upperHz)
        emit placeMarker(1, nearestRow(*m_result.upperHz));
}
