#pragma once
// The message seam of the widget tests: records every beep, message and question instead of
// showing a modal box, and answers questions as told.
#include "UserMessages.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>

class TestMessages : public UserMessages {
public:
    void beep() override { ++beeps; }
    void message(const QString& text, QMessageBox::Icon icon) override;
    bool question(const QString& title, const QString& text, QMessageBox::Icon icon) override;

    // The text of the last message; empty when none was shown.
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().first; }
    // The texts of the messages and of the questions, in order.
    QStringList shownTexts() const;
    QStringList askedTexts() const;

    struct Question {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };
    int beeps = 0;
    QList<QPair<QString, QMessageBox::Icon>> shown;
    QList<Question> asked;
    bool answer = true; // true: OK
    // What happens while a message box would be open (its event loop runs).
    std::function<void()> whileShown;
};
