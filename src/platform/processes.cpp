#include "platform/processes.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <csignal>
#include <cstdio>
#include <cstdlib>

bool RealProcesses::start(const QString& program) {
    return QProcess::startDetached(program, {});
}

bool RealProcesses::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void RealProcesses::endProgram(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
