#pragma once
// The one way the main window speaks to the user: message boxes with the application title as
// caption and an OK button (OK and Cancel for a question), and the beep that precedes them.
// Tests replace it to count beeps and capture texts without modal dialogs.
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
    // A question with OK and Cancel; true for OK only.
    virtual bool confirm(const QString& text);
    // Closes the boxes still open (the window is closing), as their OK would; a question as
    // its Cancel would.
    virtual void dismissAll();

    void setParentWidget(QWidget* parent) { m_parent = parent; }

private:
    QWidget* m_parent = nullptr;
    QList<QPointer<QMessageBox>> m_open;
};
