#pragma once
// Small constructors of the window's fields and labels: the objectName is the control's
// documented name; a field with no caption of its own gets an accessible name that says
// what it holds.
#include <QLabel>
#include <QLineEdit>
#include <QString>

inline QLineEdit* makeField(const QString& name, const QString& accessible, bool readOnly,
                            QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(accessible);
    e->setReadOnly(readOnly);
    e->setAlignment(Qt::AlignRight);
    return e;
}

inline QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
