#pragma once
// Accessible names of the dialogs' fields: a field with a caption takes the caption's text
// (the label becomes its buddy, so the caption's mnemonic reaches it too); a field without one
// gets a name that says what it holds. Option buttons, check boxes and buttons keep their
// captions as their names. A label that shows a value never gets a name: a screen reader reads
// a label's name instead of its text, so the value would be lost. Its caption reaches it as
// the caption's buddy relation instead.
#include <QString>

class QLabel;
class QWidget;

// Makes `label` the caption of `field`; returns the label.
QLabel* captionFor(QLabel* label, QWidget* field);
// A field without a caption.
void nameField(QWidget* field, const QString& name);
