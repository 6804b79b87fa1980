#pragma once
// The main window: start-up and shutdown, sweep control, device events, frequency entry, the
// table and the four views. Control names are the widgets' objectNames; control arrays carry
// the index after an underscore (cmdView_0..cmdView_3, VScrollStart_0..VScrollStart_8,
// optSpeed_0..optSpeed_2, frameView_0..frameView_3, mnuView_0..mnuView_3, lblVolt_0..lblVolt_10).
#include "SampleConverter.h"
#include "StartOptions.h"
#include "SweepConfig.h"

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QVector>
#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QTextBrowser;
class DeviceBinding;
class SingleInstance;
class SweepDialogs;
class SweepGraph;
class SweepTable;
class UserMessages;

class frmSweep : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int NUMERO_CAMPIONI = 400;
    // messages and dialogs may be null: the Qt message boxes and the built-in dialogs are used.
    explicit frmSweep(const StartOptions& options, UserMessages* messages = nullptr,
                      SweepDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmSweep() override;

    // The start-up sequence. False: the program must end now (second instance, setup applied,
    // unknown DDS or converter); nothing of the window's state has been saved then.
    bool load();

    // Sweep control and frequency entry, callable by the test panel, the markers and tests.
    void cmdStart_Click();
    void cmdStop_Click();
    void calcolaStep();
    void aggiornaLblFrequenza();
    void selezionaVista(int index);
    void aggiornaLblMarkerX();
    void aggiornaLblMarkerY();
    void timerUpdateSweep_Timer();
    void timerGrafico_Timer();

    // Sweep data of one finished pass, as the device delivered it (elements 1..400 used).
    void datiDDS(const QVector<double>& vettore);

    // Events of the bound device object (aVettore, aComplete, aErrore).
    void onVettore(const QVector<double>& vettore);
    void onComplete();
    void onErrore(qint16 tipoErrore, const QString& descrizione);

    qint16 statoSweep() const { return m_statoSweep; }
    const SweepConfig& config() const { return m_cfg; }
    qint32 freqStep() const { return m_freqStep; }
    qint16 vistaCorrente() const { return m_vistaCorrente; }
    SweepTable* table() const { return m_table; }
    SweepGraph* graph() const { return m_graph; }
    QString iniFile() const { return m_iniFile; }
    bool deviceBound() const;
    // Process id of the running device server, 0 when none.
    qint64 serverPid() const;

signals:
    // A finished sweep is in the table (the curve follows 100 ms later).
    void sweepReceived();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (frmSweepUi.cpp).
    void buildUi();
    void buildMenus();
    QWidget* buildGraphArea();
    QWidget* buildControlColumn();
    QWidget* buildMarkerView();
    QGroupBox* buildTestPanel();
    QGroupBox* buildFrequencyFrame(const QString& title, QLineEdit*& field,
                                   std::array<QScrollBar*, 9>& bars, const QString& fieldName,
                                   const QString& barName);

    // Start-up and shutdown (frmSweepStartup.cpp).
    bool controllaConfigurazione();
    void readMainWindowState();
    void inizializzaAux();
    void bindDevice();
    void bindLpt();
    void restoreAuxOutputs();
    void shutdown();
    void setDeviceCaption(const QString& device);
    QStringList serverArguments() const;
    void onServerDied(const QString& reason);

    // Sweep control and events (frmSweepControl.cpp).
    void startSweep();
    bool waitForIdle();
    void aggiornaTimer();
    void endOfSweepControls(bool focusBeforeMenus);
    void setSweepOn(qint16 value);
    void optSpeed_Click(int index);
    void log(const QString& text);
    void showMessage(const QString& text, QMessageBox::Icon icon);

    // Frequency entry (frmSweepFrequency.cpp).
    void txtFreq_GotFocus(QLineEdit* field);
    void txtFreq_LostFocus(QLineEdit* field);
    void VScroll_Change(bool startRow, int index);
    void restartUpdateTimer();
    QString formatFreq(qint32 f) const;
    void aggiornaPosMarkerX(const QString& name);
    double levelToUser(double level) const;
    void applyScale();
    void copyMarkerToRange(bool toStart);
    void showHelp();
    void placeScaleLabels();
    void aggiornaPosMarkerY();

    StartOptions m_options;
    std::unique_ptr<UserMessages> m_ownMessages;
    std::unique_ptr<SweepDialogs> m_ownDialogs;
    UserMessages* m_messages;
    SweepDialogs* m_dialogs;
    std::unique_ptr<SingleInstance> m_instance;
    DeviceBinding* m_device = nullptr;

    QString m_iniFile;
    SweepConfig m_cfg;
    qint32 m_freqStep = 0;
    qint16 m_statoSweep = 0;
    qint16 m_vistaCorrente = 0;
    bool m_echoGuard = false;
    bool m_loaded = false;
    bool m_closing = false;
    bool m_startRefused = false;
    QElapsedTimer m_clock;
    qint64 m_tickUltimo = 0;
    QString m_messaggio;
    SampleConverter m_converter;

    // Controls.
    SweepGraph* m_graph = nullptr;
    SweepTable* m_table = nullptr;
    QLineEdit* txtStart = nullptr;
    QLineEdit* txtStop = nullptr;
    QLineEdit* txtStep = nullptr;
    std::array<QScrollBar*, 9> VScrollStart{};
    std::array<QScrollBar*, 9> VScrollStop{};
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblSpeed = nullptr;
    QLabel* lblFreq = nullptr;
    QLabel* lblStart = nullptr;
    QLabel* lblCentro = nullptr;
    QLabel* lblStop = nullptr;
    QLabel* lblCampioni = nullptr;
    std::array<QLabel*, 11> lblVolt{};
    QLineEdit* txtMaxVolt = nullptr;
    QLineEdit* txtMaxDb = nullptr;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label15 = nullptr;
    QGroupBox* frmSpeed = nullptr;
    std::array<QRadioButton*, 3> optSpeed{};
    QGroupBox* frameButton = nullptr;
    std::array<QPushButton*, 4> cmdView{};
    std::array<QGroupBox*, 4> frameView{};
    QLineEdit* txtM1X = nullptr;
    QLineEdit* txtM2X = nullptr;
    QLineEdit* txtM1Y = nullptr;
    QLineEdit* txtM2Y = nullptr;
    QLineEdit* txtM2M1 = nullptr;
    QLineEdit* txtM3Y = nullptr;
    QLineEdit* txtM4Y = nullptr;
    QLineEdit* txtM4M3 = nullptr;
    QPushButton* cmdCopyM1 = nullptr;
    QPushButton* cmdCopyM2 = nullptr;
    QGroupBox* frameTest = nullptr;
    QListWidget* lstLOG = nullptr;
    QLineEdit* txtRX = nullptr;
    QLineEdit* txtErrori = nullptr;
    QPushButton* cmdMisura = nullptr;
    QTimer* timerUpdateSweep = nullptr;
    QTimer* timerGrafico = nullptr;
    QAction* mnuOpenCSV = nullptr;
    QAction* mnuSaveCSV = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuSetUpAction = nullptr;
    std::array<QAction*, 4> mnuView{};
    std::array<QAction*, 5> mnuScala{};
    QPointer<QTextBrowser> m_help;
};
