#include "app/clavido.h"
#include "app/datenordner.h"
#include "app/german.h"
#include "platform/clipboard.h"
#include "platform/help.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/processes.h"

#include <QApplication>

#include <sys/prctl.h>
#include <sys/resource.h>

int main(int argc, char* argv[]) {
    // The secrets shown and copied stand in plain text in this process's
    // memory: no core file may keep them, no other process of the user may
    // attach to read them.
    prctl(PR_SET_DUMPABLE, 0);
    const rlimit keinKern{0, 0};
    setrlimit(RLIMIT_CORE, &keinKern);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumoClavido"));
    QApplication::setApplicationVersion(QStringLiteral("6.1.0"));
    QApplication::setQuitOnLastWindowClosed(false);
    installiereDeutsch(application);

    QtMessageBox messages;
    QtClipboard clipboard;
    QtPrinter printer;
    QtHelp help;
    RealProcesses processes;
    Services dienste{messages, clipboard, printer, help, processes};

    Ablage ablage = ablageDesProgramms();
    const Hinweis geholt = datenbankHolen(QCoreApplication::applicationDirPath(), ablage);
    Clavido clavido(dienste, ablage);
    if (!geholt.text.isEmpty())
        clavido.meldung(geholt.text, geholt.stil);
    clavido.Main();
    // Ended before the first event loop (refused at start, or the sign-in
    // cancelled): exit() had no loop to end.
    if (clavido.beendet())
        return 0;
    return application.exec();
}
