#include "UnattendedUser.h"

#include "SweepConfig.h"

#include <cstdio>

namespace {
void printLine(FILE* stream, const QString& text) {
    std::fprintf(stream, "sweep: %s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}
} // namespace

void UnattendedMessages::message(const QString& text, QMessageBox::Icon) {
    printLine(stderr, QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

bool UnattendedMessages::question(const QString& title, const QString& text,
                                  QMessageBox::Icon icon) {
    message(title + QStringLiteral(": ") + text + QStringLiteral(" (answered Cancel)"), icon);
    return false;
}

bool UnattendedDialogs::showSetup(QWidget*, SweepContext& context) {
    printLine(stdout, QStringLiteral("the set-up dialog opens for %1; nobody can answer it in an "
                                     "unattended run, so the run ends. Start sweep without "
                                     "--sweeps to choose the hardware.")
                          .arg(context.config.iniFile));
    // The program ends as after "Apply", but nothing is written.
    return true;
}
