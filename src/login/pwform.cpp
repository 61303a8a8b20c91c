#include "login/pwform.h"

#include "app/clavido.h"
#include "login/passwort.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

pwform::pwform(Clavido& app)
    : Formular(app) {
    Frame2 = new QGroupBox(this);
    Label5 = new QLabel(QStringLiteral("Bitte mit Passwort neu legitimieren"), Frame2);
    QFont fett = Label5->font();
    fett.setBold(true);
    Label5->setFont(fett);
    Text7 = new QLineEdit(Frame2);
    Text7->setMaxLength(12);
    widgets::setPasswordChar(Text7, u'*');
    Text7->setAccessibleName(QStringLiteral("Passwort"));
    Label5->setBuddy(Text7);
    Command9 = new QPushButton(QStringLiteral(" Passwort prüfen "), Frame2);
    Command10 = new QPushButton(QStringLiteral(" Rahmen ausblenden "), Frame2);
    auto* pruefen = new QGridLayout(Frame2);
    pruefen->setRowStretch(0, 1);
    pruefen->addWidget(Label5, 1, 0, 1, 2);
    pruefen->addWidget(Text7, 2, 0, 1, 2);
    pruefen->addWidget(Command9, 3, 0);
    pruefen->addWidget(Command10, 3, 1);
    pruefen->setRowStretch(4, 1);

    Frame1 = new QGroupBox(QStringLiteral(" Benutzername / Passwort ändern "), this);
    Text3 = new QLineEdit(Frame1);
    setTypingLimit(Text3, 30);
    Text1 = new QLineEdit(Frame1);
    Text1->setMaxLength(12);
    widgets::setPasswordChar(Text1, u'*');
    Text2 = new QLineEdit(Frame1);
    Text2->setMaxLength(12);
    widgets::setPasswordChar(Text2, u'#');
    Label1 = new QLabel(QStringLiteral("Benutzer"), Frame1);
    Label1->setBuddy(Text3);
    Label2 = new QLabel(QStringLiteral("Passwort"), Frame1);
    Label2->setBuddy(Text1);
    Label3 = new QLabel(QStringLiteral("Pw wiederholen"), Frame1);
    Label3->setBuddy(Text2);
    Check1 = new QCheckBox(QStringLiteral("Passwort in Klartext"), Frame1);
    Command3 = new QPushButton(QStringLiteral(" Benutzername / Passwort speichern "), Frame1);
    Command4 = new QPushButton(QStringLiteral(" Neuer Eintrag "), Frame1);
    Command1 = new QPushButton(QStringLiteral(" Fenster schließen "), this);
    auto* felder = new QGridLayout(Frame1);
    felder->addWidget(Label1, 0, 0);
    felder->addWidget(Text3, 0, 1);
    felder->addWidget(Label2, 1, 0);
    felder->addWidget(Text1, 1, 1);
    felder->addWidget(Label3, 2, 0);
    felder->addWidget(Text2, 2, 1);
    felder->addWidget(Check1, 3, 1);
    felder->addWidget(Command3, 4, 0, 1, 2);
    felder->addWidget(Command4, 5, 0, 1, 2);
    felder->setColumnMinimumWidth(1, 220);
    // Enter moves from box to box; in the last one it saves.
    for (QPushButton* knopf : {Command1, Command3, Command4, Command9, Command10})
        knopf->setAutoDefault(false);

    stapel_ = new QStackedLayout;
    stapel_->addWidget(Frame1);
    stapel_->addWidget(Frame2);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(stapel_);
    layout->addLayout(unten);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Text7, Command9);
    setTabOrder(Command9, Command10);
    setTabOrder(Command10, Text3);
    setTabOrder(Text3, Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Check1);
    setTabOrder(Check1, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command1);

    connect(Command1, &QPushButton::clicked, this, &pwform::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &pwform::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &pwform::Command4_Click);
    connect(Command9, &QPushButton::clicked, this, &pwform::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &pwform::Command10_Click);
    // "Passwort in Klartext" shows the password: it is a secret like any other.
    for (QLineEdit* box : {Text1, Text2})
        app.geheimFelder.add(box);
    connect(Check1, &QCheckBox::clicked, this, &pwform::Check1_Click);
    connect(Text7, &QLineEdit::returnPressed, this, &pwform::Command9_Click);
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text2->setFocus(); });
    connect(Text2, &QLineEdit::returnPressed, this, &pwform::Command3_Click);
    zuruecksetzen();
}

void pwform::zuruecksetzen() {
    Check1->setChecked(false);
    for (QLineEdit* box : {Text7, Text1, Text2})
        box->clear();
    fillText(Text3, QString());
    widgets::setPasswordChar(Text1, u'*');
    widgets::setPasswordChar(Text2, u'#');
    Command3->setEnabled(false);
    Command4->setEnabled(false);
}

void pwform::Form_Load() {
    stapel_->setCurrentWidget(Frame2);
}

void pwform::showEvent(QShowEvent* event) {
    Formular::showEvent(event);
    const Sitzung& s = app.sitzung;
    fillText(Text3, s.aktBenutzer);
    Text1->setText(s.aktPasswort);
    Text2->setText(s.aktPasswort);
    Text7->setFocus();
}

void pwform::Command9_Click() {
    Sitzung& s = app.sitzung;
    s.gespPasswort = Text7->text();
    if (s.gespPasswort.isEmpty()) {
        Unload();
        return;
    }
    if (versuch == 0)
        versuch = 1;
    if (passwoerterGleich(s.gespPasswort, s.aktPasswort)) {
        stapel_->setCurrentWidget(Frame1);
        Text7->clear();
        Text1->setFocus();
        Command3->setEnabled(true);
        Command4->setEnabled(true);
        return;
    }
    if (!falschesPasswort(app, versuch, Text7))
        Unload();
}

void pwform::Command10_Click() {
    versuch = 0;
    Unload();
}

void pwform::Command1_Click() {
    Unload();
}

void pwform::Check1_Click() {
    if (widgets::passwordChar(Text1) == u'*')
        Text1->setFocus();
    const QChar zeichen = widgets::passwordChar(Text1).isNull() ? QChar(u'*') : QChar();
    widgets::setPasswordChar(Text1, zeichen);
    widgets::setPasswordChar(Text2, zeichen);
    Text7->clear();
}

void pwform::Command4_Click() {
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text3->setFocus();
}
