#pragma once
// Small constructors of the window's fields and labels: the objectName is the control's
// documented name; a field with no caption of its own gets an accessible name that says
// what it holds.
#include <QEvent>
#include <QFocusEvent>
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

// A focus event that is an edit's start or end: the focus moving inside the window. Switching
// to another window or opening a popup is not one.
inline bool isEditFocusEvent(const QEvent* event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
