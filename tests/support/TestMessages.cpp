#include "TestMessages.h"

void TestMessages::message(const QString& text, QMessageBox::Icon icon) {
    shown.append({text, icon});
    if (whileShown)
        whileShown();
}

bool TestMessages::question(const QString& title, const QString& text, QMessageBox::Icon icon) {
    asked.append({title, text, icon});
    return answer;
}

QStringList TestMessages::shownTexts() const {
    QStringList texts;
    for (const auto& m : shown)
        texts << m.first;
    return texts;
}

QStringList TestMessages::askedTexts() const {
    QStringList texts;
    for (const Question& q : asked)
        texts << q.text;
    return texts;
}
