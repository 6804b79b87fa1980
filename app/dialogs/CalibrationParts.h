#pragma once
// What the two calibration dialogs share: the small bar beside the offset field (three
// positions, resting in the middle, so each arrow click steps the offset once and the bar comes
// back to rest), and the row of their "Apply" and "Exit" buttons.
#include "Accessible.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

inline QScrollBar* makeStepBar(const QLineEdit* field, const QString& accessibleName,
                               QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(QStringLiteral("VScrollOffset"));
    bar->setRange(1, 3);
    bar->setPageStep(1);
    bar->setValue(2);
    bar->setFixedHeight(field->sizeHint().height() + 12);
    nameField(bar, accessibleName);
    return bar;
}

// Neither button is a default button: Enter in the offset field only takes the typed value.
inline QHBoxLayout* makeApplyExitRow(QPushButton*& apply, QPushButton*& exit, QWidget* parent) {
    auto* row = new QHBoxLayout;
    apply = new QPushButton(QStringLiteral("Apply"), parent);
    apply->setObjectName(QStringLiteral("cmdApply"));
    exit = new QPushButton(QStringLiteral("Exit"), parent);
    exit->setObjectName(QStringLiteral("cmdExit"));
    apply->setAutoDefault(false);
    exit->setAutoDefault(false);
    row->addStretch(1);
    row->addWidget(apply);
    row->addWidget(exit);
    return row;
}
