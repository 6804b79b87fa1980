#pragma once
// Accessible names of the dialogs' fields: a field with a caption takes the caption's text
// (the label becomes its buddy, so the caption's mnemonic reaches it too); a field without one
// gets a name that says what it holds. Option buttons, check boxes and buttons keep their
// captions as their names.
#include <QString>

class QLabel;
class QWidget;

// Makes `label` the caption of `field`; returns the label.
QLabel* captionFor(QLabel* label, QWidget* field);
// A field without a caption.
void nameField(QWidget* field, const QString& name);
