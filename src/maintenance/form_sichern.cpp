#include "maintenance/form_sichern.h"

#include "app/clavido.h"
#include "maintenance/sicherung_ende.h"
#include "platform/folder_chooser.h"
#include "platform/wait_cursor.h"
#include "store/record_file.h"
#include "store/sicherung.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormSichern::FormSichern(Clavido& app)
    : Formular(app) {
    Label3 = new QLabel(QStringLiteral("Sie können jetzt Ihre Datenbank sichern"), this);
    QFont fett = Label3->font();
    fett.setBold(true);
    fett.setPointSize(fett.pointSize() + 2);
    Label3->setFont(fett);
    Label1 = new QLabel(QStringLiteral("Bitte wählen Sie Sicherungs-Laufwerk / Ordner aus"), this);
    Ordner = new FolderChooser(this);
    Drive1 = Ordner->drives();
    Dir1 = Ordner->tree();
    Command2 = new QPushButton(QStringLiteral("&Datenbank sichern"), this);
    Command1 = new QPushButton(QStringLiteral("&Beenden"), this);
    for (QPushButton* knopf : {Command1, Command2})
        knopf->setAutoDefault(false);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label1);
    layout->addWidget(Ordner, 1);
    layout->addLayout(knoepfe);
    resize(460, 420);
    connect(Command1, &QPushButton::clicked, this, &FormSichern::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormSichern::Command2_Click);
    connect(Ordner, &FolderChooser::error, this, [this](int nummer, const QString& beschreibung) {
        this->app.meldung(fehlerText(nummer, beschreibung), msg::Exclamation);
    });
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
    app.meldung(QStringLiteral("Ihre Datenbankdatei wurde in den Ordner  ") +
                    QDir::toNativeSeparators(Ordner->folder()).toUpper() +
                    QStringLiteral("   gesichert."),
                msg::Information);
    Unload();
    endeNachSicherung(app);
}

void FormSichern::Command1_Click() {
    Unload();
    endeNachSicherung(app);
}
