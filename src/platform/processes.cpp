#include "platform/processes.h"

#include <QProcess>

#include <csignal>
#include <cstdio>
#include <cstdlib>

bool RealProcesses::start(const QString& program) {
    return QProcess::startDetached(program, {});
}

void RealProcesses::endProgram(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}
