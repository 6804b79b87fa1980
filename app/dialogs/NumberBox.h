#pragma once
// A number field of the dialogs: it shows its value in a picture format ("###,000,000",
// "#0.000") and, while it has the focus, as the plain number for typing. Leaving it (or Enter)
// hands a typed number to `take`; a text that is not a number, or a number `take` refuses,
// beeps and shows the previous value again. A field the user did not edit takes nothing, so
// tabbing through never rounds a stored value to what the picture shows.
#include <QLineEdit>
#include <functional>

class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    // show(true): the plain number; show(false): the formatted one.
    using Show = std::function<QString(bool plain)>;
    // The typed number; false refuses it.
    using Take = std::function<bool(double typed)>;

    NumberBox(const QString& objectName, Show show, Take take, std::function<void()> beep,
              QWidget* parent = nullptr);

    // Shows the value again (the working value changed elsewhere).
    void refresh();

signals:
    // A typed number was taken.
    void committed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void commit();

    Show m_show;
    Take m_take;
    std::function<void()> m_beep;
    bool m_edited = false;
};
