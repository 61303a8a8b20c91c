#include "login/pwstartform.h"

#include "app/clavido.h"
#include "editor/form_daten.h"
#include "login/passwort.h"
#include "main_window/form_clavido.h"
#include "platform/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

pwstartform::pwstartform(Clavido& app)
    : Formular(app) {
    Label1 = new QLabel(this);
    Label1->setStyleSheet(QStringLiteral("color: #00008b;"));
    Text3 = new QLineEdit(this);
    // Locked and filled by the program: the name typed at sign-in is kept whole,
    // even beyond the 30 characters a name box takes from the keyboard.
    Text3->setReadOnly(true);
    Text1 = new QLineEdit(this);
    Text1->setMaxLength(12);
    widgets::setPasswordChar(Text1, u'#');
    Text2 = new QLineEdit(this);
    Text2->setMaxLength(12);
    widgets::setPasswordChar(Text2, u'*');
    Label2 = new QLabel(QStringLiteral("Benutzername"), this);
    Label2->setBuddy(Text3);
    Label3 = new QLabel(QStringLiteral("Passwort"), this);
    Label3->setBuddy(Text1);
    Label4 = new QLabel(QStringLiteral("Pw wiederholen"), this);
    Label4->setBuddy(Text2);
    Check1 = new QCheckBox(QStringLiteral("Passwort in Klartext"), this);

    Command3 = new QPushButton(QStringLiteral(" Passwort speichern  "), this);
    Command4 = new QPushButton(QStringLiteral(" Passwortfelder löschen "), this);
    Command1 = new QPushButton(QStringLiteral(" Fenster schließen "), this);
    Command2 = new QPushButton(QStringLiteral(" Hilfe "), this);
    // Enter moves from box to box; only in the last box it saves.
    for (QPushButton* knopf : {Command1, Command2, Command3, Command4})
        knopf->setAutoDefault(false);

    // "Passwort in Klartext" shows the password: it is a secret like any other.
    for (QLineEdit* box : {Text1, Text2})
        app.geheimFelder.add(box);
    connect(Check1, &QCheckBox::clicked, this, &pwstartform::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &pwstartform::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &pwstartform::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &pwstartform::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &pwstartform::Command4_Click);
    connect(Text3, &QLineEdit::returnPressed, this, [this] { Text1->setFocus(); });
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text2->setFocus(); });
    connect(Text2, &QLineEdit::returnPressed, this, &pwstartform::Command3_Click);

    auto* felder = new QGridLayout;
    felder->addWidget(Label2, 0, 0);
    felder->addWidget(Text3, 0, 1);
    felder->addWidget(Label3, 1, 0);
    felder->addWidget(Text1, 1, 1);
    felder->addWidget(Label4, 2, 0);
    felder->addWidget(Text2, 2, 1);
    felder->addWidget(Check1, 3, 1);
    felder->setColumnMinimumWidth(1, 240);
    auto* knoepfe = new QGridLayout;
    knoepfe->addWidget(Command3, 0, 0);
    knoepfe->addWidget(Command4, 0, 1);
    knoepfe->addWidget(Command2, 1, 0);
    knoepfe->addWidget(Command1, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(6);
    layout->addLayout(felder);
    layout->addSpacing(6);
    layout->addLayout(knoepfe);
    // A dialog of fixed size: its pictures and buttons stay where they belong.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Text3, Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Check1);
    setTabOrder(Check1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command2);
    setTabOrder(Command2, Command1);
}

void pwstartform::Form_Load() {
    Label1->setText(QStringLiteral("Bevor Sie das Programm nutzen können, müssen Sie\r\n"
                                   "einen Benutzernamen und ein Passwort vergeben.\r\n"
                                   "Bitte geben Sie das Passwort zur Kontrolle  2 x ein."));
    Text3->setText(app.sitzung.aktBenutzer);
    Text1->setText(app.sitzung.aktPasswort);
    Text2->setText(app.sitzung.aktPasswort);
}

void pwstartform::zuruecksetzen() {
    Label1->clear();
    Text3->clear();
    Text1->clear();
    Text2->clear();
    Check1->setChecked(false);
    widgets::setPasswordChar(Text1, u'#');
    widgets::setPasswordChar(Text2, u'*');
}

void pwstartform::showEvent(QShowEvent* event) {
    Formular::showEvent(event);
    Text1->setFocus();
}

void pwstartform::Check1_Click() {
    const QChar zeichen = Check1->isChecked() ? QChar() : QChar(u'#');
    widgets::setPasswordChar(Text1, zeichen);
    widgets::setPasswordChar(Text2, zeichen);
}

void pwstartform::Command4_Click() {
    Text1->clear();
    Text2->clear();
}

void pwstartform::Command1_Click() {
    Unload();
    if (app.hatFormClavido())
        app.formClavido().hide();
    app.beenden();
}

void pwstartform::Command2_Click() {
    const QString crlf = QStringLiteral("\r\n");
    app.meldung(
        QStringLiteral("Hinweis:") + crlf + crlf +
            QStringLiteral("Geben Sie hier bitte einen von Ihnen frei gewählten Namen ein (bis zu "
                           "30 Satzzeichen),") +
            crlf + QStringLiteral("unter dem Sie sich zukünftig beim Programmstart anmelden.") +
            crlf +
            QStringLiteral("Geben Sie außerdem ein Passwort ein (bis zu 12 Satzzeichen - bitte zur "
                           "Kontrolle 2-fach).    ") +
            crlf +
            QStringLiteral("Sind alle Eingaben zulässig, erhalten Sie Zugang zum Programm.") +
            crlf + QStringLiteral("Bitte merken Sie sich unbedingt Benutzername und Passwort!") +
            crlf + crlf +
            QStringLiteral("Benutzername und Passwort können jederzeit im Programm geändert "
                           "werden.    ") +
            crlf,
        msg::Information);
}

void pwstartform::Command3_Click() {
    if (Text3->text().isEmpty() && Text1->text().isEmpty() && Text2->text().isEmpty()) {
        app.meldung(QStringLiteral("Sie haben noch keine Eingaben gemacht!"), msg::Exclamation);
        Text3->setFocus();
        return;
    }
    if (Text3->text().isEmpty()) {
        app.meldung(QStringLiteral("Bitte geben Sie einen Benutzernamen ein!"), msg::Exclamation);
        Text3->setFocus();
        return;
    }
    if (Text1->text().isEmpty() || Text2->text().isEmpty()) {
        app.meldung(QStringLiteral("Sie müssen das Passwort zur Kontrolle 2 x eingegeben!"),
                    msg::Exclamation);
        Text1->setFocus();
        return;
    }
    if (Text1->text() != Text2->text()) {
        QApplication::beep();
        app.meldung(QStringLiteral("Ihre beiden Passwort-Eingaben sind nicht identisch!"),
                    msg::Exclamation);
        Text1->clear();
        Text2->clear();
        Text1->setFocus();
        return;
    }
    // The sign-in compares names exactly but passwords without their outer
    // blanks: a password of blanks would be no password at all.
    if (Text3->text().trimmed().isEmpty()) {
        app.meldung(QStringLiteral("Der Benutzername darf nicht nur aus Leerzeichen bestehen!\r\n"
                                   "Bitte starten Sie das Programm neu und melden Sie sich mit "
                                   "einem anderen Benutzernamen an."),
                    msg::Exclamation);
        return;
    }
    if (!neuesPasswortZulaessig(app, Text1, Text2))
        return;
    if (app.meldung(QStringLiteral("Möchten Sie Benutzername und Passwort jetzt speichern?"),
                    msg::Question | msg::YesNo) != msg::Yes)
        return;
    if (Text3->text().isEmpty() || Text1->text().isEmpty() || Text2->text().isEmpty() ||
        Text1->text() != Text2->text())
        return;

    Sitzung& s = app.sitzung;
    s.aktBenutzer = Text3->text();
    s.aktPasswort = Text1->text();

    FormDaten& editor = app.formDaten();
    editor.Frame1->setTitle(QStringLiteral("Hier neuen Datensatz anlegen"));
    editor.leereBeschriftungenFuellen(QStringLiteral("Zusatz"));

    FormClavido& haupt = app.formClavido();
    haupt.Daten1.Recordset().AddNew();
    Unload();
    haupt.setWindowTitle(Clavido::fensterTitel() + s.aktBenutzer);
    haupt.show();
    haupt.activateWindow();
    s.listenAktion = 2;
    s.eingabeAktiv = 1;
    s.datenModus = 0;
    s.optSichern = QStringLiteral("1");
    s.optFragen = QStringLiteral("1");
    editor.zeigeModal();
}
