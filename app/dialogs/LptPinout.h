#pragma once
// The "Parallel Port pin out" page's content: a drawing of the 25-pin plug with the lines the
// hardware uses (the DDS and converter lines, the AUX shift registers and the potentiometer on
// D4 to D7, ground) and the two pin lists.
#include <QWidget>

class LptPinout : public QWidget {
    Q_OBJECT
public:
    explicit LptPinout(QWidget* parent = nullptr);

    // The fixed texts of the two lists, one line each.
    static QStringList ddsAuxLines();
    static QStringList adcLines();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kDrawingHeight = 240;
};
