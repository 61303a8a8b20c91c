#include "login/pwfrage.h"

#include "app/clavido.h"
#include "app/form_haftung.h"
#include "app/pictures.h"
#include "login/passwort.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "platform/wait_cursor.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"
#include "store/statements.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

#include <optional>

pwfrage::pwfrage(Clavido& app)
    : Formular(app) {
    Image1 = new QLabel(this);
    Image1->setPixmap(bildPixmap(Bild::Schloss, 64));
    Label1 = new QLabel(QStringLiteral("Anmeldung"), this);
    QFont kopf(QStringLiteral("Arial"), 14);
    kopf.setBold(true);
    Label1->setFont(kopf);
    Label2 = new QLabel(QStringLiteral("lumoClavido"), this);
    QFont produkt(QStringLiteral("Arial Black"), 18);
    produkt.setWeight(QFont::Black);
    Label2->setFont(produkt);
    Label2->setStyleSheet(QStringLiteral("color: #28345a;"));

    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // No completion: a name that begins another one ("ann", "anna") must stay typeable.
    Combo1->setCompleter(nullptr);
    Combo1->setToolTip(QStringLiteral(" Benutzer auswählen oder eingeben "));
    Combo1->setMinimumWidth(220);
    Combo2 = new QComboBox(this);
    Combo2->setVisible(false);
    // A window of its own that is never shown: its item per table row stays
    // out of the dialog's accessibility tree, which a screen reader walks.
    Combo2->setWindowFlag(Qt::Window);
    Textpwfrage = new QLineEdit(this);
    Textpwfrage->setMaxLength(12);
    widgets::setPasswordChar(Textpwfrage, u'*');
    Label3 = new QLabel(QStringLiteral("Benutzername"), this);
    Label3->setBuddy(Combo1);
    Label4 = new QLabel(QStringLiteral("Benutzerpasswort"), this);
    Label4->setBuddy(Textpwfrage);

    Command3 = new QPushButton(QStringLiteral(" Benutzername und Passwort prüfen  "), this);
    Command1 = new QPushButton(QStringLiteral(" Beenden  "), this);
    Command2 = new QPushButton(QStringLiteral(" Hilfe "), this);
    Command3->setDefault(true);
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &pwfrage::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &pwfrage::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &pwfrage::Command3_Click);
    connect(Combo1, &QComboBox::activated, this, &pwfrage::Combo1_Click);

    auto* kopfzeile = new QHBoxLayout;
    kopfzeile->addWidget(Image1);
    auto* titel = new QVBoxLayout;
    titel->addWidget(Label2);
    titel->addWidget(Label1);
    kopfzeile->addLayout(titel);
    kopfzeile->addStretch();
    auto* felder = new QGridLayout;
    felder->addWidget(Label3, 0, 0);
    felder->addWidget(Combo1, 0, 1);
    felder->addWidget(Label4, 1, 0);
    felder->addWidget(Textpwfrage, 1, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Command3);
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kopfzeile);
    layout->addSpacing(8);
    layout->addLayout(felder);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);
    // A dialog of fixed size: its pictures and buttons stay where they belong.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Combo1, Textpwfrage);
    setTabOrder(Textpwfrage, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Command1);
}

void pwfrage::Form_Load() {
    if (!app.datenbankOeffnen())
        return;
    std::optional<WaitCursor> warten(std::in_place);
    db::DataControl& daten = app.formClavido().Daten1;
    daten.SetRecordSource(statements::ganzeTabelle());
    if (db::Error e = daten.Refresh()) {
        warten.reset();
        // The table cannot be read to the end: damaged, not just empty.
        app.reparaturAnbieten(
            QStringLiteral("Die Datenbankdatei\r\n%1\r\nkann nicht gelesen werden: %2")
                .arg(QDir::toNativeSeparators(app.verbindung.path()), e.text));
        return;
    }

    db::Recordset& rs = daten.Recordset();
    const int benutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    QStringList namen;
    namen.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        namen << rs.Fields(benutzer).Value();
    const QStringList alle = widgets::sortedItems(namen);
    widgets::setItems(Combo2, alle);

    QStringList einmal;
    QSet<QString> schonDa;
    for (const QString& name : alle) {
        if (!schonDa.contains(name)) {
            schonDa.insert(name);
            einmal << name;
        }
    }
    widgets::setItems(Combo1, einmal);
    Combo1->setCurrentIndex(Combo1->count() > 0 ? 0 : -1);
    Combo1->setEditText(Combo1->count() > 0 ? Combo1->itemText(0) : QString());
}

void pwfrage::zuruecksetzen() {
    Combo1->clear();
    Combo1->setEditText(QString());
    Combo2->clear();
    Textpwfrage->clear();
}

void pwfrage::showEvent(QShowEvent* event) {
    Formular::showEvent(event);
    if (Combo1->count() == 0)
        Combo1->setFocus();
    else
        Textpwfrage->setFocus();
}

void pwfrage::Combo1_Click() {
    Textpwfrage->setFocus();
}

void pwfrage::Command1_Click() {
    Unload();
    if (app.hatFormClavido())
        app.formClavido().hide();
    app.beenden();
}

void pwfrage::Command2_Click() {
    const QString crlf = QStringLiteral("\r\n");
    app.meldung(QStringLiteral("Hinweis:") + crlf + crlf +
                    QStringLiteral("Wenn Sie das Programm schon einmal benutzt haben, können Sie "
                                   "sich hier mit Ihrem    ") +
                    crlf +
                    QStringLiteral("Benutzernamen anmelden. Den Benutzernamen können Sie in der "
                                   "Kombibox auswählen") +
                    crlf +
                    QStringLiteral("oder neu eingeben. Geben Sie außerdem das dazu gehörige "
                                   "Passwort ein.") +
                    crlf +
                    QStringLiteral("Sind beide Angaben gültig, erhalten Sie sofort Zugang zum "
                                   "Programm.") +
                    crlf +
                    QStringLiteral("Ist der Benutzername dem Programm noch nicht bekannt, wird ein "
                                   "Fenster eingeblendet,    ") +
                    crlf + QStringLiteral("in dem Sie sich neu anmelden können.") + crlf,
                msg::Information);
}

void pwfrage::Command3_Click() {
    Sitzung& s = app.sitzung;
    s.aktBenutzer = Combo1->currentText();
    s.aktPasswort = Textpwfrage->text();

    if (s.aktBenutzer.isEmpty() && s.aktPasswort.isEmpty()) {
        app.beenden();
        return;
    }
    if (s.aktPasswort.isEmpty()) {
        app.meldung(QStringLiteral("Sie müssen ein Passwort eingeben!"), msg::Exclamation);
        Textpwfrage->setFocus();
        return;
    }
    if (s.aktBenutzer.isEmpty()) {
        app.meldung(QStringLiteral("Sie müssen einen Benutzernamen eingeben!"), msg::Exclamation);
        Combo1->setFocus();
        return;
    }

    FormClavido& haupt = app.formClavido();
    db::Recordset& rs = haupt.Daten1.Recordset();
    const int benutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    bool gefunden = false;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(benutzer).Value() == s.aktBenutzer) {
            gefunden = true;
            break;
        }
    }

    if (!gefunden) {
        const auto antwort =
            app.meldung(QStringLiteral("Sie sind noch nicht als Benutzer registriert!\r\n"
                                       "Möchten Sie sich jetzt als neuer Benutzer anmelden?"),
                        msg::Exclamation | msg::YesNo);
        if (antwort != msg::Yes)
            return;
        Unload();
        app.formHaftung().zeigeModal();
        if (app.beendet())
            return;
        app.formPwstartform().zeigeModal();
        return;
    }

    s.gespPasswort = entschluesseln(rs.Fields(QStringLiteral("Passwort")).Value(), kFeldSchluessel);
    if (versuch == 0)
        versuch = 1;

    if (passwoerterGleich(s.aktPasswort, s.gespPasswort)) {
        haupt.setWindowTitle(Clavido::fensterTitel() + s.aktBenutzer);
        Unload();
        haupt.show();
        haupt.activateWindow();
        return;
    }
    if (versuch >= 3) {
        app.meldung(QStringLiteral("3. Versuch: Das Passwort ist ungültig! Das Programm wird "
                                   "abgebrochen."),
                    msg::Exclamation);
        app.beenden();
        return;
    }
    app.meldung(QString::number(versuch) + QStringLiteral(". Versuch: Das Passwort ist ungültig!"),
                msg::Exclamation);
    Textpwfrage->clear();
    Textpwfrage->setFocus();
    ++versuch;
}
