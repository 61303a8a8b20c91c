#include "platform/processes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <csignal>

bool RealProcesses::start(const QString& program) {
    return QProcess::startDetached(program, {});
}

bool RealProcesses::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

// The application ends in main, not here: only its orderly teardown hands
// what is on the clipboard over to the desktop's clipboard manager.
void RealProcesses::endProgram(int code) {
    QCoreApplication::exit(code);
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
