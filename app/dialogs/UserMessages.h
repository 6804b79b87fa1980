#pragma once
// The one way the main window speaks to the user: message boxes with the application title as
// caption and an OK button, questions with OK and Cancel, and the beep that precedes them. Tests
// replace it to count beeps and capture texts and answers without modal dialogs.
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>

class QWidget;

class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void beep();
    virtual void message(const QString& text, QMessageBox::Icon icon);
    // A box with OK and Cancel captioned `title`; true when the answer is OK.
    virtual bool question(const QString& title, const QString& text, QMessageBox::Icon icon);
    // Closes the boxes still open (the window is closing), as their OK would; a question as
    // its Cancel would, so that nothing more is changed on the way out.
    virtual void dismissAll();

    void setParentWidget(QWidget* parent) { m_parent = parent; }

private:
    QWidget* m_parent = nullptr;
    QList<QPointer<QMessageBox>> m_open;
};
