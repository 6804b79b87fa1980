#pragma once
// The main window: a shell that builds the window from its pieces and wires them. The pieces:
// SweepController (sweep state, start and stop, the timers, the device's events), the device
// (SweepDevice, one class per kind of hardware), FrequencyEntry (the range fields and digit
// bars), the sweep data with its table, the graph with ScaleControls and MarkerPanel, and the
// TestPanel. Control names are the widgets' objectNames; control arrays carry the index after
// an underscore (cmdView_0..cmdView_4, VScrollStart_0..VScrollStart_8, optSpeed_0..optSpeed_2,
// frameView_0..frameView_4, mnuView_0..mnuView_4, lblVolt_0..lblVolt_10). The trace menu
// (TraceMenu) and the "Measure" view (MeasurePanel) work on the same sweep data.
#include "ScaleModel.h"
#include "StartOptions.h"
#include "SweepConfig.h"
#include "SweepContext.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QVector>
#include <array>
#include <memory>

class AuxPanel;
class CsvFiles;
class CursorReadout;
class FrequencyEntry;
class MarkerPanel;
class MeasurePanel;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class ScaleControls;
class SingleInstance;
class SweepController;
class SweepData;
class SweepDevice;
class SweepDialogs;
class SweepGraph;
class SweepTable;
class TestPanel;
class TraceMenu;
class UserMessages;

class frmSweep : public QMainWindow {
    Q_OBJECT
public:
    // Marker, Table, Aux 1, Aux 2, Measure.
    static constexpr int kViews = 5;

    // messages and dialogs may be null: the Qt message boxes and the built-in dialogs are used.
    explicit frmSweep(const StartOptions& options, UserMessages* messages = nullptr,
                      SweepDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmSweep() override;

    // The start-up sequence. False: the program must end now (second instance, setup applied,
    // unknown DDS or converter); nothing of the window's state has been saved then.
    bool load();

    void selezionaVista(int index);
    // "Export picture (.png)" without its dialog: false after telling the user why not.
    bool exportPicture(const QString& path);
    // "Sweep ON" and one received sweep, as the button and the device would.
    void cmdStart_Click();
    void datiDDS(const QVector<double>& vettore);
    void onErrore(qint16 tipoErrore, const QString& descrizione);

    qint16 statoSweep() const;
    qint32 freqStep() const;
    const SweepConfig& config() const { return m_cfg; }
    qint16 vistaCorrente() const { return m_vistaCorrente; }
    SweepTable* table() const { return m_table; }
    SweepGraph* graph() const { return m_graph; }
    SweepData* data() const { return m_data; }
    SweepController* controller() const { return m_controller; }
    CsvFiles* csvFiles() const { return m_csv; }
    TraceMenu* traceMenu() const { return m_trace; }
    MeasurePanel* measurePanel() const { return m_measure; }
    SweepContext& context() { return m_context; }
    QString iniFile() const { return m_iniFile; }
    bool deviceBound() const;
    // Process id of the running device server, 0 when none.
    qint64 serverPid() const;

signals:
    // A finished sweep is in the table (the curve follows 100 ms later).
    void sweepReceived();
    // The shutdown is done: the state is saved and the device released.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Layout (frmSweepLayout.cpp).
    void buildUi();
    void buildMenus();
    QWidget* buildGraphArea();
    QWidget* buildControlColumn();
    QWidget* buildViews(QWidget* parent);

    // Wiring of the pieces (frmSweep.cpp).
    void wirePieces();
    void wireTestPanel();
    // The trace menu and the "Measure" view.
    void wireTraces();
    // The File menu (frmSweepFiles.cpp).
    void wireFiles();
    void showLoadedSweep(qint32 freqStart, qint32 freqStop);
    void showRunning();
    void showIdle();
    void showRangeLabels();
    void showRate(qint64 msPerSweep, double sweepsPerSecond);
    void showWaiting(bool waiting);

    // The scale and the drawing (frmSweepGraph.cpp).
    void wireGraph();
    void aggiornaScala(int index);
    void mnuScala_Click(int index);
    void drawScreen();
    void drawLine();
    void describeGraph();
    void showHelp();
    void applyOuterSize();
    // A handler or a device call is under way: a close waits for its end.
    bool busy() const;
    void shutdown();

    // Start-up (frmSweepStartup.cpp).
    bool controllaConfigurazione();
    void inizializzaAux();
    void bindDevice();
    QStringList serverArguments() const;
    void showMessage(const QString& text, QMessageBox::Icon icon);

    StartOptions m_options;
    std::unique_ptr<UserMessages> m_ownMessages;
    std::unique_ptr<SweepDialogs> m_ownDialogs;
    UserMessages* m_messages;
    SweepDialogs* m_dialogs;
    std::unique_ptr<SingleInstance> m_instance;

    QString m_iniFile;
    SweepConfig m_cfg;
    SweepData* m_data;
    std::unique_ptr<SweepDevice> m_device;
    SweepContext m_context;
    SweepController* m_controller = nullptr;
    FrequencyEntry* m_entry = nullptr;
    ScaleControls* m_scale = nullptr;
    MarkerPanel* m_markers = nullptr;
    MeasurePanel* m_measure = nullptr;
    TraceMenu* m_trace = nullptr;
    CursorReadout* m_cursor = nullptr;
    std::array<AuxPanel*, 2> m_aux{};
    CsvFiles* m_csv = nullptr;
    QString m_pictureFolder;
    TestPanel* m_testPanel = nullptr;

    qint16 m_vistaCorrente = 0;
    bool m_loaded = false;
    bool m_closing = false;
    QTimer* m_closeRetry = nullptr;
    bool m_outerSizeFixed = false;

    // Controls.
    SweepGraph* m_graph = nullptr;
    SweepTable* m_table = nullptr;
    QLineEdit* txtStep = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblSpeed = nullptr;
    QLabel* lblFreq = nullptr;
    QLabel* lblWaiting = nullptr;
    QLabel* lblStart = nullptr;
    QLabel* lblCentro = nullptr;
    QLabel* lblStop = nullptr;
    QGroupBox* frmSpeed = nullptr;
    std::array<QRadioButton*, 3> optSpeed{};
    QGroupBox* frameButton = nullptr;
    std::array<QPushButton*, kViews> cmdView{};
    std::array<QGroupBox*, kViews> frameView{};
    QAction* mnuOpenCSV = nullptr;
    QAction* mnuSaveCSV = nullptr;
    QAction* mnuSavePicture = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuSetUpAction = nullptr;
    std::array<QAction*, kViews> mnuView{};
    std::array<QAction*, ScaleModel::kScales> mnuScala{};
};
