#include "HelpWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#ifndef SWEEP_HELP_RELATIVE_DIR
#define SWEEP_HELP_RELATIVE_DIR "../share/sweep/help"
#endif

namespace {

QList<QPointer<QTextBrowser>>& windows() {
    static QList<QPointer<QTextBrowser>> open;
    return open;
}

} // namespace

namespace HelpWindows {

QString indexPath(const QString& programDir) {
    const QDir dir(programDir);
    for (const QString& folder :
         {QStringLiteral("help"), QString::fromLatin1(SWEEP_HELP_RELATIVE_DIR)}) {
        const QFileInfo index(dir.filePath(folder + QStringLiteral("/index.html")));
        if (index.isFile())
            return index.canonicalFilePath();
    }
    return QString();
}

QString indexPath() {
    return indexPath(QCoreApplication::applicationDirPath());
}

QTextBrowser* showMain() {
    QTextBrowser* main = nullptr;
    for (const QPointer<QTextBrowser>& w : windows())
        if (w && w->objectName() == QLatin1String("Main"))
            main = w;
    if (!main) {
        main = new QTextBrowser;
        main->setObjectName(QStringLiteral("Main"));
        main->setWindowTitle(QStringLiteral("Main"));
        main->setAccessibleName(QStringLiteral("Sweep Generator help"));
        main->setAttribute(Qt::WA_DeleteOnClose);
        main->setOpenExternalLinks(true);
        main->resize(720, 600);
        const QString index = indexPath();
        if (index.isEmpty())
            main->setHtml(
                QStringLiteral(
                    "<h2>Help not found</h2><p>The user guide (help/index.html) is neither beside "
                    "the program nor in %1. Reinstall Sweep or copy the folder help/ beside "
                    "it.</p>")
                    .arg(QString::fromLatin1(SWEEP_HELP_RELATIVE_DIR)));
        else
            main->setSource(QUrl::fromLocalFile(index));
        windows().removeAll(nullptr);
        windows().append(main);
    }
    main->show();
    main->raise();
    main->activateWindow();
    return main;
}

void closeAll() {
    for (const QPointer<QTextBrowser>& w : windows())
        if (w)
            w->close();
    windows().clear();
}

int openCount() {
    int n = 0;
    for (const QPointer<QTextBrowser>& w : windows())
        if (w && w->isVisible())
            ++n;
    return n;
}

} // namespace HelpWindows
