#pragma once
// Entry of the sweep range: the fields txtStart and txtStop in their frames "Start Frequency -
// Hz" and "Stop Frequency - Hz", each with nine digit scroll bars (index n steps 10^n Hz).
// A field shows the plain number while it has the focus and the grouped number otherwise;
// every change is kept inside the DDS limits (with a beep) and reported through edited().
// A typed value that has not been committed yet (the focus is still in the field) is
// committed before a digit bar acts, as the focus leaving the field would.
#include <QObject>
#include <array>

class QGroupBox;
class QLineEdit;
class QScrollBar;
class QWidget;
class SweepConfig;
class UserMessages;

class FrequencyEntry : public QObject {
    Q_OBJECT
public:
    FrequencyEntry(SweepConfig& config, UserMessages& messages, QWidget* parent);

    QGroupBox* startFrame() const { return m_startFrame; }
    QGroupBox* stopFrame() const { return m_stopFrame; }

    // Both fields show the stored range, grouped.
    void showRange();
    // One end of the range set from elsewhere (a marker copied to it).
    void setFrequency(bool start, qint32 frequency);
    // Commits a typed value still in a field that has the focus.
    void commitPendingEdit();

    // The handlers, by the names of the controls.
    void txtFreq_GotFocus(QLineEdit* field);
    void txtFreq_LostFocus(QLineEdit* field);
    void VScroll_Change(bool startRow, int index);

signals:
    // The range changed: re-apply it 500 ms after the last edit.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildFrame(const QString& title, QLineEdit*& field, std::array<QScrollBar*, 9>& bars,
                          const QString& fieldName, const QString& barName, QWidget* parent);
    qint32& valueOf(QLineEdit* field);

    SweepConfig& m_cfg;
    UserMessages& m_messages;
    QGroupBox* m_startFrame = nullptr;
    QGroupBox* m_stopFrame = nullptr;
    QLineEdit* txtStart = nullptr;
    QLineEdit* txtStop = nullptr;
    std::array<QScrollBar*, 9> VScrollStart{};
    std::array<QScrollBar*, 9> VScrollStop{};
    // The echo guard: set while a bar's handler runs, so its own reset of the bar to 2 does
    // not count as a second click.
    bool m_echoGuard = false;
    // The field whose text the user may have changed since it got the focus.
    QLineEdit* m_editing = nullptr;
};
