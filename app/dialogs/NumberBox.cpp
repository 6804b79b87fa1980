#include "NumberBox.h"

#include "NumberParse.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

NumberBox::NumberBox(const QString& objectName, Show show, Take take, std::function<void()> beep,
                     QWidget* parent)
    : QLineEdit(parent), m_show(std::move(show)), m_take(std::move(take)), m_beep(std::move(beep)) {
    setObjectName(objectName);
    connect(this, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    refresh();
}

void NumberBox::refresh() {
    setText(m_show(hasFocus()));
    m_edited = false;
}

void NumberBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!m_edited) {
        setText(m_show(true));
        // After the mouse press that gave the focus has placed the cursor.
        QTimer::singleShot(0, this, &QLineEdit::selectAll);
    }
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    commit();
    setText(m_show(false));
    QLineEdit::focusOutEvent(event);
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        setText(m_show(true));
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberBox::commit() {
    if (!m_edited)
        return;
    m_edited = false;
    const auto typed = parseNumber(text(), ParseFlag::AllowGroupSeparator);
    if (typed && m_take(*typed)) {
        emit committed();
        return;
    }
    if (m_beep)
        m_beep();
}
