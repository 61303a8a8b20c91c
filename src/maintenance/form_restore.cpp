#include "maintenance/form_restore.h"

#include "app/clavido.h"
#include "maintenance/sicherung_ende.h"
#include "platform/folder_chooser.h"
#include "platform/wait_cursor.h"
#include "store/record_file.h"
#include "store/sicherung.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <sqlcipher/sqlite3.h>

FormRestore::FormRestore(Clavido& app)
    : OrdnerFormular(app, QStringLiteral("Gesicherte Datenbank wieder herstellen"),
                     QStringLiteral("Laufwerk / Ordner mit gesicherter Datenbank auswählen"),
                     QStringLiteral("&Datenbank wieder herstellen")) {
    Label2 = new QLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    Label2->setFrameShape(QFrame::Panel);
    Label2->setFrameShadow(QFrame::Sunken);
    Label2->setMargin(3);
    Label2->setAutoFillBackground(true);
    unterDieOrdner(Label2);
    resize(460, 460);
    connect(Command1, &QPushButton::clicked, this, &FormRestore::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormRestore::Command2_Click);
    connect(Ordner, &FolderChooser::folderOpened, this, &FormRestore::Dir1_Change);
    zuruecksetzen();
}

void FormRestore::zuruecksetzen() {
    reparatur = false;
    status(QStringLiteral("Datenbankdatei auf diesem Laufwerk nicht gefunden!"), false);
}

void FormRestore::Form_Load() {
    const bool still = Ordner->blockSignals(true);
    Ordner->openFolder(QDir::homePath());
    Ordner->blockSignals(still);
    pruefen(true);
}

void FormRestore::Dir1_Change() {
    pruefen(false);
}

void FormRestore::status(const QString& text, bool gefunden) {
    Label2->setText(text);
    QPalette farben = Label2->palette();
    farben.setColor(QPalette::Window, gefunden ? QColor(255, 255, 255) : QColor(255, 255, 0));
    farben.setColor(QPalette::WindowText, Qt::black);
    Label2->setPalette(farben);
    Command2->setEnabled(gefunden);
}

// A file is offered for the restore only when it is a sound database of this
// program, and not the very file it would replace.
void FormRestore::pruefen(bool beimOeffnen) {
    status(QStringLiteral("Datenbankdatei auf diesem Laufwerk nicht gefunden!"), false);
    Sitzung& s = app.sitzung;
    s.sicherungsPfad = recordfile::pathIn(Ordner->folder());
    const QFileInfo datei(s.sicherungsPfad);
    if (!datei.isFile())
        return;
    const QString name = datei.fileName();
    if (datei.canonicalFilePath() ==
        QFileInfo(recordfile::pathIn(app.programmOrdner)).canonicalFilePath()) {
        status((app.ablage.imProgrammordner
                    ? QStringLiteral("Dies ist die Datenbankdatei des Programmordners.")
                    : QStringLiteral("Dies ist die Datenbankdatei Ihres Datenordners.")) +
                   QStringLiteral(" Bitte wählen Sie den Ordner mit der Sicherung!"),
               false);
        return;
    }
    db::Error fehler;
    {
        WaitCursor warten;
        fehler = sicherung::pruefen(s.sicherungsPfad);
    }
    if (fehler) {
        const int art = fehler.code & 0xff;
        status(art == SQLITE_NOTADB || art == SQLITE_CORRUPT
                   ? QStringLiteral("Datenbankdatei %1 ist beschädigt oder keine Datenbank von "
                                    "lumoClavido!")
                         .arg(name)
                   : QStringLiteral("Datenbankdatei %1 kann nicht gelesen werden: %2")
                         .arg(name, fehler.text),
               false);
        return;
    }
    status(beimOeffnen ? QStringLiteral("Datenbank: %1 o.K.").arg(name)
                       : QStringLiteral("Datenbankdatei: %1 vorhanden").arg(name),
           true);
}

void FormRestore::Command2_Click() {
    if (app.meldung(QStringLiteral("Achtung! Die aktuelle Datenbankdatei wird überschrieben!\r\n"
                                   "Möchten Sie fortfahren?"),
                    msg::Critical | msg::YesNo) != msg::Yes)
        return;
    Sitzung& s = app.sitzung;
    s.sicherungsPfad = recordfile::pathIn(Ordner->folder());
    app.verbindung.close();
    db::Error fehler;
    {
        WaitCursor warten;
        fehler = sicherung::kopieren(s.sicherungsPfad, recordfile::pathIn(app.programmOrdner));
    }
    if (fehler) {
        app.meldung(fehlerText(fehler) +
                        QStringLiteral("\r\n\r\nDie aktuelle Datenbankdatei bleibt unverändert."),
                    msg::Exclamation);
        return;
    }
    app.meldung(app.ablage.imProgrammordner
                    ? QStringLiteral("Die Datenbankdatei wurde in den Programmordner zurück "
                                     "geschrieben")
                    : QStringLiteral("Die Datenbankdatei wurde in Ihren Datenordner "
                                     "zurückgeschrieben."),
                msg::Information);
    Unload();
    endeNachSicherung(app);
}

void FormRestore::Command1_Click() {
    // A start that found the file unusable is not repeated for nothing.
    if (reparatur)
        app.sitzung.endeModus = 2;
    Unload();
    endeNachSicherung(app);
}
