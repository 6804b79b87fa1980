// The File menu of the main window: sweep files through CsvFiles, and the picture of the graph.
#include "CsvFiles.h"
#include "FrequencyEntry.h"
#include "MarkerPanel.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "ScaleModel.h"
#include "SweepController.h"
#include "SweepGraph.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QSaveFile>

void frmSweep::wireFiles() {
    m_csv = new CsvFiles(m_context, this);
    connect(mnuSaveCSV, &QAction::triggered, m_csv, &CsvFiles::mnuSaveCSV_Click);
    connect(mnuOpenCSV, &QAction::triggered, m_csv, &CsvFiles::mnuOpenCSV_Click);
    // Files hold volts. The switch goes through the menu's path, so M3 and M4 keep their
    // physical levels.
    connect(m_csv, &CsvFiles::aboutToSave, this, [this] { mnuScala_Click(ScaleModel::kLinear); });
    connect(m_csv, &CsvFiles::aboutToLoad, this, [this] { mnuScala_Click(ScaleModel::kLinear); });
    connect(m_csv, &CsvFiles::loaded, this, &frmSweep::showLoadedSweep);
    connect(mnuSavePicture, &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Export picture"), m_pictureFolder,
                                         QStringLiteral("PNG pictures (*.png)"));
        if (!path.isEmpty())
            exportPicture(path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)
                              ? path
                              : path + QStringLiteral(".png"));
    });
}

void frmSweep::showLoadedSweep(qint32 freqStart, qint32 freqStop) {
    m_entry->showRange();
    m_controller->calcolaStep();
    const QString picture = QStringLiteral("###,###,##0");
    lblStart->setText(formatNumber(freqStart, picture));
    lblStop->setText(formatNumber(freqStop, picture));
    lblCentro->setText(formatNumber(roundHalfEven((double(freqStart) + freqStop) / 2.0), picture));
    m_markers->showLevels();
    drawLine();
    describeGraph();
}

bool frmSweep::exportPicture(const QString& path) {
    m_pictureFolder = QFileInfo(path).absolutePath();
    // The graph as shown, markers and their labels included, at the screen's resolution.
    const QPixmap picture = m_graph->grab();
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (file.open(QIODevice::WriteOnly) && writer.write(picture.toImage()) && file.commit())
        return true;
    const QString reason =
        file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
    m_messages->beep();
    showMessage(QStringLiteral("Cannot save %1: %2.").arg(QDir::toNativeSeparators(path), reason),
                QMessageBox::Warning);
    return false;
}
