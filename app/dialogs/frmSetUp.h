#pragma once
// "Sweep Configuration": the hardware configuration of Sweep.ini on six pages (Interface,
// Ports, DDS Generator, A/D Converter, Auxiliary Button, Parallel Port pin out). It works on a
// copy of the values; "APPLY" writes them after a confirmation and the program must then end
// (the configuration takes effect at the next start); "EXIT" writes nothing. It never talks
// to the hardware. Each page is its own class (frmSetUp<Page>.h); the dialog keeps the page
// buttons, the section loader, "APPLY" and "EXIT".
#include "SweepContext.h"
#include "frmSetUpPage.h"

#include <QDialog>
#include <array>
#include <memory>

class PortScan;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

class frmSetUp : public QDialog {
    Q_OBJECT
public:
    enum Page { kInterface, kPorts, kDds, kAdc, kAux, kPinout, kPages };

    // scan: what the Ports page shows of the computer; null: the real one.
    explicit frmSetUp(SweepContext& context, const PortScan* scan = nullptr,
                      QWidget* parent = nullptr);
    ~frmSetUp() override;

    // "APPLY" was confirmed and the configuration written: the program must end.
    bool applied() const { return m_applied; }
    const SweepConfig& working() const { return m_values.config; }
    const AuxConfig& aux(int n) const { return m_values.aux[n == 2 ? 1 : 0]; }

    // Loads the DDS and converter values of [Config] or of a factory set [InterfaceN], and both
    // AUX panels, and shows them.
    void caricaSezione(const QString& section);
    // The DDS, A/D and auxiliary pages serve the parallel-port hardware only.
    void abilitaPagine();
    void showPage(int page);

private:
    void buildPageButtons(QVBoxLayout* buttons);
    void buildPages(QHBoxLayout* outer);
    void frameInvisibili();
    void loadPages();
    void cmdApply_Click();
    // The Interface page's choices, which load default sets and enable pages.
    void optInterface_Click(int n);
    void cmdDefault_Click(int n);
    bool loadDefaultSet(int n);

    SweepContext& m_context;
    std::unique_ptr<PortScan> m_ownScan;
    const PortScan* m_scan;
    SetUpValues m_values;
    bool m_applied = false;
    int m_page = kInterface;

    std::array<QPushButton*, kPages> m_pageButtons{};
    std::array<SetUpPage*, kPages> frameSetUp{};
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdExit = nullptr;
};
