#include "maintenance/form_auswahl.h"

#include "app/clavido.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_restore.h"
#include "maintenance/form_sichern.h"
#include "maintenance/sicherung_ende.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FormAuswahl::FormAuswahl(Clavido& app)
    : Formular(app) {
    Label1 = new QLabel(QStringLiteral("Was möchten Sie tun:"), this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPointSize(fett.pointSize() + 2);
    Label1->setFont(fett);
    Label3 =
        new QLabel(QStringLiteral("Sie können jetzt die Datenbank sichern oder eine gesicherte "
                                  "Datenbank einlesen.            "),
                   this);
    Option1 = new QRadioButton(QStringLiteral("Datenbank sichern"), this);
    Option2 = new QRadioButton(QStringLiteral("gesicherte Datenbank einlesen"), this);
    auto* gruppe = new QButtonGroup(this);
    gruppe->addButton(Option1);
    gruppe->addButton(Option2);
    Check1 = new QCheckBox(QStringLiteral("Dieses Fenster nicht mehr einblenden"), this);
    Command1 = new QPushButton(QStringLiteral("&Beenden"), this);
    Command2 = new QPushButton(QStringLiteral("&o.K."), this);
    Command2->setDefault(true);
    Command1->setAutoDefault(false);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    layout->addSpacing(8);
    layout->addWidget(Option1);
    layout->addWidget(Option2);
    layout->addSpacing(8);
    layout->addWidget(Check1);
    layout->addSpacing(8);
    layout->addLayout(knoepfe);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Command2, Command1);
    connect(Command1, &QPushButton::clicked, this, &FormAuswahl::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormAuswahl::Command2_Click);
    zuruecksetzen();
}

void FormAuswahl::zuruecksetzen() {
    Option1->setChecked(true);
    Check1->setChecked(false);
}

// Not offered again to this user: his rows only, and only from the next start.
void FormAuswahl::nichtMehrAnbieten() {
    if (!Check1->isChecked())
        return;
    const Sitzung& s = app.sitzung;
    const db::Error fehler = app.formClavido().inEinerTransaktion([&](db::Recordset& rs) {
        return rs.SetzeAlle({{QStringLiteral("Sichern"), QStringLiteral("0")}},
                            QStringLiteral("Benutzer"), s.aktBenutzer);
    });
    if (fehler) {
        app.meldung(
            QStringLiteral("Die Einstellung \u201EDieses Fenster nicht mehr einblenden\u201C "
                           "konnte nicht gespeichert werden.\r\n%1")
                .arg(fehler.text),
            msg::Exclamation);
    }
}

void FormAuswahl::Command1_Click() {
    nichtMehrAnbieten();
    Unload();
    endeNachSicherung(app);
}

void FormAuswahl::Command2_Click() {
    nichtMehrAnbieten();
    // The file is copied only while the program does not hold it open.
    app.verbindung.close();
    if (Option1->isChecked())
        app.formSichern().zeigeModal();
    else
        app.formRestore().zeigeModal();
    Unload();
}
