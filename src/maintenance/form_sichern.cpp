#include "maintenance/form_sichern.h"

#include "app/clavido.h"
#include "maintenance/sicherung_ende.h"
#include "platform/folder_chooser.h"
#include "platform/wait_cursor.h"
#include "store/record_file.h"
#include "store/sicherung.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

FormSichern::FormSichern(Clavido& app)
    : OrdnerFormular(app, QStringLiteral("Sie können jetzt Ihre Datenbank sichern"),
                     QStringLiteral("Bitte wählen Sie Sicherungs-Laufwerk / Ordner aus"),
                     QStringLiteral("&Datenbank sichern")) {
    resize(460, 420);
    connect(Command1, &QPushButton::clicked, this, &FormSichern::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormSichern::Command2_Click);
}

void FormSichern::Form_Load() {
    Ordner->openFolder(QDir::homePath());
}

void FormSichern::Command2_Click() {
    if (app.meldung(QStringLiteral("Achtung!  Eine bestehende Datei wird ohne Rückfrage "
                                   "überschrieben!\r\nMöchten Sie fortfahren?"),
                    msg::Critical | msg::YesNo) != msg::Yes)
        return;
    Sitzung& s = app.sitzung;
    s.sicherungsPfad = recordfile::pathIn(Ordner->folder());
    db::Error fehler;
    {
        WaitCursor warten;
        fehler = sicherung::kopieren(recordfile::pathIn(app.programmOrdner), s.sicherungsPfad);
    }
    // A failed backup leaves an older one as it was; another folder may do.
    if (fehler) {
        app.meldung(fehlerText(fehler), msg::Exclamation);
        return;
    }
    // The folder as it is called: in capitals it would name another one here.
    app.meldung(QStringLiteral("Ihre Datenbankdatei wurde in den Ordner  ") +
                    QDir::toNativeSeparators(Ordner->folder()) + QStringLiteral("   gesichert."),
                msg::Information);
    Unload();
    endeNachSicherung(app);
}

void FormSichern::Command1_Click() {
    Unload();
    endeNachSicherung(app);
}
