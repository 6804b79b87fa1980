#pragma once
// The diagnostic panel frameTest, shown only with [Debug] "Log": the log list lstLOG, the
// last received point txtRX, the retry counter txtErrori, the point count lblCampioni and the
// test buttons.
#include <QObject>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

class TestPanel : public QObject {
    Q_OBJECT
public:
    explicit TestPanel(QWidget* parent);

    QGroupBox* frame() const { return frameTest; }

    // A log line, appended as the new last line and selected (which scrolls it into view).
    void appendLog(const QString& line);
    // Point i was received with this value; shown at once so the points can be watched.
    void showPoint(int i, double received);
    // One more retry warning of a serial device.
    void countRetry();
    void setSampleCount(const QString& text);
    void setMeasureCaption(const QString& text);

private:
    QGroupBox* frameTest;
    QListWidget* lstLOG = nullptr;
    QLineEdit* txtRX = nullptr;
    QLineEdit* txtErrori = nullptr;
    QLabel* lblCampioni = nullptr;
    QPushButton* cmdMisura = nullptr;
};
