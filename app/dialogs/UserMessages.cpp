#include "UserMessages.h"

#include "AppTitle.h"

#include <QApplication>

void UserMessages::beep() {
    QApplication::beep();
}

void UserMessages::message(const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok, m_parent);
    m_open.append(&box);
    box.exec();
    m_open.removeAll(&box);
}

bool UserMessages::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kAppTitle), text,
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setProperty("question", true);
    m_open.append(&box);
    const int answer = box.exec();
    m_open.removeAll(&box);
    return answer == QMessageBox::Ok;
}

void UserMessages::dismissAll() {
    for (const QPointer<QMessageBox>& box : m_open)
        if (box)
            box->done(box->property("question").toBool() ? QMessageBox::Cancel : QMessageBox::Ok);
}
