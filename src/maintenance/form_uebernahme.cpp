#include "maintenance/form_uebernahme.h"

#include "app/clavido.h"
#include "main_window/form_clavido.h"
#include "maintenance/sicherung_ende.h"
#include "platform/files.h"
#include "platform/folder_chooser.h"
#include "platform/wait_cursor.h"
#include "platform/widgets.h"
#include "store/statements.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <sqlcipher/sqlite3.h>

using uebernahme::Version;

FormÜbernahme::FormÜbernahme(Clavido& app)
    : Formular(app) {
    Label1 = new QLabel(QStringLiteral("Datenübernahme"), this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPointSize(fett.pointSize() + 2);
    Label1->setFont(fett);

    Frame1 = new QGroupBox(
        QStringLiteral(" Bitte Datenbankdatei mit den zu übernehmenden Daten auswählen "), this);
    Ordner = new FolderChooser(Frame1);
    Drive1 = Ordner->drives();
    Dir1 = Ordner->tree();
    File1 = new QListWidget(Frame1);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("Datenbankdateien"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* waehler = new QHBoxLayout(Frame1);
    waehler->addWidget(Ordner, 3);
    waehler->addWidget(File1, 2);

    Text1 = new QLineEdit(this);
    Text1->setReadOnly(true);
    Text1->setAccessibleName(QStringLiteral("Gewählte Datenbankdatei"));
    Command2 = new QPushButton(QStringLiteral("Starten..."), this);
    Command3 = new QPushButton(QStringLiteral("?"), this);
    Command3->setAccessibleName(QStringLiteral("Hinweis"));
    Command1 = new QPushButton(QStringLiteral("&Schließen"), this);
    for (QPushButton* knopf : {Command1, Command2, Command3})
        knopf->setAutoDefault(false);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Command3);
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Frame1, 1);
    layout->addWidget(Text1);
    layout->addLayout(knoepfe);
    resize(620, 440);
    // Tab goes left to right along the buttons.
    setTabOrder(Text1, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Command1);

    connect(Ordner, &FolderChooser::folderOpened, this, &FormÜbernahme::Dir1_Change);
    connect(Ordner, &FolderChooser::error, this, [this](int nummer, const QString& beschreibung) {
        this->app.meldung(fehlerText(nummer, beschreibung), msg::Exclamation);
    });
    // The selection, not the current item: tabbing into the list chooses nothing.
    connect(File1, &QListWidget::itemSelectionChanged, this, &FormÜbernahme::File1_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &FormÜbernahme::File1_DblClick);
    connect(Text1, &QLineEdit::textChanged, this, &FormÜbernahme::Text1_Change);
    connect(Command1, &QPushButton::clicked, this, &FormÜbernahme::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormÜbernahme::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FormÜbernahme::Command3_Click);
    zuruecksetzen();
}

QString FormÜbernahme::titelUebernahme() {
    return QStringLiteral("Datenübernahme ") + Clavido::titel();
}

QString FormÜbernahme::hinweisText() {
    return QStringList{
        QStringLiteral("Hinweis:"),
        QString(),
        QStringLiteral("Sie können hier das Laufwerk und den Ordner mit der Datenbankdatei       "),
        QStringLiteral("auswählen. Ist in dem Ordner eine zugelassene Datenbankdatei vorhanden,"),
        QStringLiteral("wird diese im rechten Dateilistenfeld angezeigt."),
        QStringLiteral("Wählen Sie diese Datei durch anklicken aus und betätigen Sie dann den"),
        QStringLiteral("Schalter \"Starten...\""),
        QStringLiteral("Der Übernahmevorgang wird nach einer Rückfrage gestartet und nach einer"),
        QStringLiteral(" kurzen Zeit steht Ihnen der alte Datenbestand wieder zur Verfügung."),
        QStringLiteral("Es werden sämtliche Daten aller Benutzer übernommen!"),
        QString(),
        QStringLiteral(
            "Wenn einer der Benutzer noch einmal versucht, die alten Daten zu übernehmen,     "),
        QStringLiteral("wird eine entsprechende Meldung angezeigt und die Funktion abgebrochen."),
        QString()}
        .join(QStringLiteral("\r\n"));
}

void FormÜbernahme::zuruecksetzen() {
    alteDateiSchliessen();
    File1->clear();
    Text1->clear();
    Text1_Change();
}

void FormÜbernahme::Form_Load() {
    Ordner->openFolder(app.programmOrdner);
}

void FormÜbernahme::Dir1_Change() {
    const bool still = File1->blockSignals(true);
    File1->clear();
    File1->addItems(uebernahme::angeboteneDateien(Ordner->folder()));
    File1->blockSignals(still);
}

void FormÜbernahme::File1_Click() {
    const QList<QListWidgetItem*> gewaehlt = File1->selectedItems();
    if (gewaehlt.isEmpty())
        return;
    const QString name = gewaehlt.first()->text();
    Text1->setText(name);
    app.sitzung.sicherungsPfad = QDir(Ordner->folder()).filePath(name);
}

void FormÜbernahme::File1_DblClick() {
    File1_Click();
    Command2_Click();
}

void FormÜbernahme::Text1_Change() {
    Command2->setEnabled(!Text1->text().isEmpty());
}

void FormÜbernahme::Command1_Click() {
    Unload();
}

void FormÜbernahme::Command3_Click() {
    app.meldung(hinweisText(), msg::Information);
}

void FormÜbernahme::ablehnen(const QString& grund) {
    app.meldung(grund, msg::Exclamation, titelUebernahme());
}

void FormÜbernahme::alteDateiSchliessen() {
    Daten2.Forget();
    alteDatei.close();
    // On the closed file this drops the rows read from it.
    Daten2.Refresh();
}

bool FormÜbernahme::alteZeilenLesen() {
    const QString pfad = app.sitzung.sicherungsPfad;
    const QString kopf = QStringLiteral("Die Datei\r\n%1\r\n").arg(QDir::toNativeSeparators(pfad));
    const QString ende = QStringLiteral("\r\n\r\nEs wurden keine Daten übernommen.");
    if (files::sameFile(pfad, app.formClavido().Daten1.DatabaseName())) {
        ablehnen(kopf +
                 QStringLiteral("ist die Datenbankdatei, mit der lumoClavido gerade "
                                "arbeitet, unter einem anderen Namen.\r\nBitte wählen Sie "
                                "die Datenbankdatei einer älteren Version.") +
                 ende);
        return false;
    }
    db::Error fehler;
    uebernahme::Befund befund;
    {
        WaitCursor warten;
        befund = uebernahme::oeffnen(alteDatei, pfad, &fehler);
        if (befund == uebernahme::Befund::Lesbar) {
            // Every old row is read before the first one is written.
            Daten2.SetRecordSource(statements::ganzeTabelle());
            fehler = Daten2.Refresh();
            if (fehler)
                befund = uebernahme::Befund::NichtLesbar;
        }
    }
    if (befund == uebernahme::Befund::Lesbar)
        return true;
    alteDateiSchliessen();
    const int art = fehler.code & 0xff;
    if (befund == uebernahme::Befund::KeineTabelle)
        ablehnen(kopf +
                 QStringLiteral("enthält keine Einträge von lumoClavido (keine Tabelle "
                                "\u201EHaupt\u201C mit Bezeichnungen und Benutzern).") +
                 ende);
    else if (art == SQLITE_NOTADB || art == SQLITE_CORRUPT)
        ablehnen(kopf +
                 QStringLiteral("kann nicht gelesen werden: Sie ist beschädigt, mit einem "
                                "anderen Kennwort geschützt oder keine Datenbank von "
                                "lumoClavido.") +
                 ende);
    else
        ablehnen(kopf + QStringLiteral("kann nicht gelesen werden.\r\n") + fehler.text + ende);
    return false;
}

// All old rows and the marks in one transaction; a failure leaves the file
// and the main window as they were.
bool FormÜbernahme::zeilenSchreiben(Version version) {
    // The designations of another copy's rows count for the suffix too.
    const db::Error fehler = app.formClavido().inEinerTransaktion([&](db::Recordset& rs) {
        return uebernahme::zeilenAnhaengen(Daten2.Recordset(), rs, version);
    });
    if (fehler) {
        ablehnen(QStringLiteral("Die Daten konnten nicht übernommen werden.\r\n%1\r\n\r\n"
                                "Es wurde nichts geändert.")
                     .arg(fehler.text));
        return false;
    }
    return true;
}

// The entry list holds every entry of the user now, not only those of the category.
void FormÜbernahme::hauptfensterAuffrischen(Version version) {
    WaitCursor warten;
    FormClavido& haupt = app.formClavido();
    haupt.zurTabelle();
    db::Recordset& rs = haupt.Daten1.Recordset();
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    const int iBezeichnung = rs.fieldIndex(QStringLiteral("Bezeichnung"));
    QStringList eintraege;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(iBenutzer).Value() == app.sitzung.aktBenutzer)
            eintraege << rs.Fields(iBezeichnung).Value();
    }
    widgets::setItems(haupt.Combo1, widgets::sortedItems(eintraege));
    if (version == Version::V5x)
        haupt.zaehlerAktualisieren();
    else
        haupt.Label3->setText(QString::number(haupt.Combo1->count()));
    if (haupt.Combo1->count() > 0)
        haupt.eintragWaehlen(haupt.Combo1->itemText(0));
    haupt.Combo1->setEnabled(haupt.Combo1->count() > 0);
}

void FormÜbernahme::Command2_Click() {
    Sitzung& s = app.sitzung;
    if (s.optUebernommen == QStringLiteral("1")) {
        app.meldung(QStringLiteral("Die Daten wurden bereits übernommen!     "), msg::Exclamation);
        return;
    }
    if (s.optFragen != QStringLiteral("0") &&
        app.meldung(QStringLiteral("Möchten Sie jetzt die Datenübernahme starten?"),
                    msg::Question | msg::YesNo, titelUebernahme()) != msg::Yes)
        return;
    const Version version = uebernahme::versionVon(Text1->text());
    if (version == Version::Unbekannt)
        return;
    if (!alteZeilenLesen())
        return;
    const bool geschrieben = zeilenSchreiben(version);
    alteDateiSchliessen();
    if (!geschrieben)
        return;
    // Refused from now on, not only from the next start.
    s.optUebernommen = QStringLiteral("1");
    app.meldung(
        version == Version::V41
            ? QStringLiteral("Die Daten aus lumoClavido 4.1 wurden erfolgreich übernommen!")
            : QStringLiteral("Die Daten aus lumoClavido 5/6.x wurden erfolgreich übernommen!"),
        msg::Information, titelUebernahme());
    hauptfensterAuffrischen(version);
    Unload();
}
