#include "Accessible.h"

#include <QLabel>
#include <QWidget>

QLabel* captionFor(QLabel* label, QWidget* field) {
    label->setBuddy(field);
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
