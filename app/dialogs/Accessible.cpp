#include "Accessible.h"

#include <QLabel>
#include <QWidget>

QLabel* captionFor(QLabel* label, QWidget* field) {
    // The caption must stand beside the field (same parent) for the relation to be found.
    label->setBuddy(field);
    if (qobject_cast<QLabel*>(field))
        return label; // a value: read as shown, captioned through the relation
    QString name = label->text();
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    field->setAccessibleName(name.trimmed());
    return label;
}

void nameField(QWidget* field, const QString& name) {
    field->setAccessibleName(name);
}
