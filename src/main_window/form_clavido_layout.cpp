#include "main_window/form_clavido.h"

#include "app/pictures.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QFont arial(int points, bool bold = false) {
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

QLabel* feldBeschriftung(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    // Captions come from the rows: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(arial(9));
    label->setStyleSheet(QStringLiteral("color: #00008b;"));
    return label;
}

QLineEdit* anzeigeFeld(QWidget* parent, QChar passwortZeichen = {}) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFont(arial(10));
    if (!passwortZeichen.isNull())
        widgets::setPasswordChar(box, passwortZeichen);
    return box;
}

QLabel* zaehler(const QString& tip, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setToolTip(tip);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(44);
    label->setFont(arial(9, true));
    return label;
}

} // namespace

QToolButton* FormClavido::bildKnopf(QWidget* parent, Bild bild, const QString& tip) {
    auto* knopf = new QToolButton(parent);
    knopf->setIcon(bildIcon(bild));
    knopf->setIconSize(QSize(20, 20));
    knopf->setFixedSize(27, 27);
    knopf->setAutoRaise(false);
    knopf->setToolTip(tip);
    knopf->setAccessibleName(tip.trimmed());
    knopf->setFocusPolicy(Qt::TabFocus);
    return knopf;
}

void FormClavido::baueMenue() {
    auto eintrag = [this](QMenu* menu, const QString& text, const QKeySequence& taste = {}) {
        QAction* action = menu->addAction(text);
        action->setShortcut(taste);
        return action;
    };
    Hmenu_datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    menu_anmelden = eintrag(Hmenu_datei, QStringLiteral("Neuer &Benutzer"));
    trenner7 = Hmenu_datei->addSeparator();
    menu_neu = eintrag(Hmenu_datei, QStringLiteral("&Neuer Datensatz"), Qt::Key_F2);
    menu_loeschen = eintrag(Hmenu_datei, QStringLiteral("Datensatz &löschen"), Qt::Key_F4);
    trenner2 = Hmenu_datei->addSeparator();
    menu_ende = eintrag(Hmenu_datei, QStringLiteral("&Ende"), Qt::Key_F5);

    Hmenu_bearbeiten = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    menu_edit = eintrag(Hmenu_bearbeiten, QStringLiteral("Datensatz &editieren"), Qt::Key_F6);
    menu_kopieren =
        eintrag(Hmenu_bearbeiten, QStringLiteral("&Kopieren"), QKeySequence(Qt::CTRL | Qt::Key_K));
    menu_kopieren->setEnabled(false);

    Hmenu_optionen = menuBar()->addMenu(QStringLiteral("&Optionen"));
    menu_drucken =
        eintrag(Hmenu_optionen, QStringLiteral("&Drucken"), QKeySequence(Qt::CTRL | Qt::Key_D));
    menu_passwort = eintrag(Hmenu_optionen, QStringLiteral("&Passwort"), Qt::Key_F7);
    trenner6 = Hmenu_optionen->addSeparator();
    menu_suchen =
        eintrag(Hmenu_optionen, QStringLiteral("&Suchen - Datensatzbezeichnung"), Qt::Key_F9);
    menu_datenübernehmen =
        eintrag(Hmenu_optionen, QStringLiteral("Daten aus älteren Versionen übernehmen"));
    trenner5 = Hmenu_optionen->addSeparator();
    menu_einstellungen = eintrag(Hmenu_optionen, QStringLiteral("&Einstellungen"), Qt::Key_F8);

    Hmenu_hilfe = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    menu_hilfe = eintrag(Hmenu_hilfe, QStringLiteral("&Hilfe"), Qt::Key_F1);
    trenner4 = Hmenu_hilfe->addSeparator();
    trenner3 = Hmenu_hilfe->addSeparator();
    menu_info = eintrag(Hmenu_hilfe, QStringLiteral("&Info"));

    for (auto [name, action] : std::initializer_list<std::pair<const char*, QAction*>>{
             {"menu_anmelden", menu_anmelden},
             {"trenner7", trenner7},
             {"menu_neu", menu_neu},
             {"menu_loeschen", menu_loeschen},
             {"trenner2", trenner2},
             {"menu_ende", menu_ende},
             {"menu_edit", menu_edit},
             {"menu_kopieren", menu_kopieren},
             {"menu_drucken", menu_drucken},
             {"menu_passwort", menu_passwort},
             {"trenner6", trenner6},
             {"menu_suchen", menu_suchen},
             {"menu_datenübernehmen", menu_datenübernehmen},
             {"trenner5", trenner5},
             {"menu_einstellungen", menu_einstellungen},
             {"menu_hilfe", menu_hilfe},
             {"trenner4", trenner4},
             {"trenner3", trenner3},
             {"menu_info", menu_info}})
        action->setObjectName(QString::fromUtf8(name));

    // Two separators in a row are shown as one by the default style; both are kept.
    Hmenu_hilfe->setSeparatorsCollapsible(false);

    connect(menu_neu, &QAction::triggered, this, &FormClavido::menu_neu_Click);
    connect(menu_edit, &QAction::triggered, this, &FormClavido::menu_edit_Click);
    connect(menu_loeschen, &QAction::triggered, this, &FormClavido::menu_loeschen_Click);
    connect(menu_kopieren, &QAction::triggered, this, &FormClavido::menu_kopieren_Click);
    connect(menu_suchen, &QAction::triggered, this, &FormClavido::menu_suchen_Click);
    connect(menu_passwort, &QAction::triggered, this, &FormClavido::menu_passwort_Click);
    connect(menu_drucken, &QAction::triggered, this, &FormClavido::menu_drucken_Click);
    connect(menu_einstellungen, &QAction::triggered, this, &FormClavido::menu_einstellungen_Click);
    connect(menu_datenübernehmen, &QAction::triggered, this,
            &FormClavido::menu_datenübernehmen_Click);
    connect(menu_info, &QAction::triggered, this, &FormClavido::menu_info_Click);
    connect(menu_anmelden, &QAction::triggered, this, &FormClavido::menu_anmelden_Click);
    connect(menu_ende, &QAction::triggered, this, &FormClavido::menu_ende_Click);
    connect(menu_hilfe, &QAction::triggered, this, &FormClavido::menu_hilfe_Click);
}

void FormClavido::baueKnopfleiste(QWidget* leiste) {
    Command4 = bildKnopf(leiste, Bild::Neu, QStringLiteral(" Neuer Datensatz  "));
    Command5 = bildKnopf(leiste, Bild::Editieren, QStringLiteral(" Datensatz editieren  "));
    Command3 = bildKnopf(leiste, Bild::Loeschen, QStringLiteral(" Datensatz löschen "));
    Command13 = bildKnopf(leiste, Bild::Drucken, QStringLiteral(" Liste drucken "));
    Command12 = bildKnopf(leiste, Bild::Kopieren, QStringLiteral(" Geheimwort kopieren "));
    Command12->setEnabled(false);
    Command2 = bildKnopf(leiste, Bild::Suchen, QStringLiteral(" Datensatzbezeichnung suchen "));
    Command8 = bildKnopf(leiste, Bild::Passwort, QStringLiteral(" Benutzername / Passwort "));
    Command7 = bildKnopf(leiste, Bild::Info, QStringLiteral(" Infos "));
    Command11 = bildKnopf(leiste, Bild::Hilfe, QStringLiteral(" Hilfe zum Programm "));
    Command1 = bildKnopf(leiste, Bild::Beenden, QStringLiteral(" Programm beenden "));

    const QStringList namen = {"Command4", "Command5", "Command3", "Command13", "Command12",
                               "Command2", "Command8", "Command7", "Command11", "Command1"};
    auto* layout = new QHBoxLayout(leiste);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    const QList<QToolButton*> reihe = {Command4, Command5, Command3, Command13, Command12,
                                       Command2, Command8, Command7, Command11, Command1};
    for (QToolButton* knopf : reihe) {
        knopf->setObjectName(namen[reihe.indexOf(knopf)]);
        layout->addWidget(knopf);
        if (knopf == Command13 || knopf == Command8 || knopf == Command11)
            layout->addSpacing(10);
    }
    layout->addStretch();
    for (int i = 1; i < reihe.size(); ++i)
        setTabOrder(reihe[i - 1], reihe[i]);

    connect(Command4, &QToolButton::clicked, this, &FormClavido::menu_neu_Click);
    connect(Command5, &QToolButton::clicked, this, &FormClavido::menu_edit_Click);
    connect(Command3, &QToolButton::clicked, this, &FormClavido::menu_loeschen_Click);
    connect(Command12, &QToolButton::clicked, this, &FormClavido::menu_kopieren_Click);
    connect(Command2, &QToolButton::clicked, this, &FormClavido::menu_suchen_Click);
    connect(Command8, &QToolButton::clicked, this, &FormClavido::menu_passwort_Click);
    // Without a row of the user there is nothing to rename: the button goes with the menu entry.
    connect(menu_passwort, &QAction::enabledChanged, Command8, &QWidget::setEnabled);
    connect(Command13, &QToolButton::clicked, this, &FormClavido::menu_drucken_Click);
    connect(Command7, &QToolButton::clicked, this, &FormClavido::menu_info_Click);
    connect(Command11, &QToolButton::clicked, this, &FormClavido::menu_hilfe_Click);
    connect(Command1, &QToolButton::clicked, this, &FormClavido::menu_ende_Click);
}

void FormClavido::baueKlartextRahmen(QWidget* parent) {
    Frame2 = new QGroupBox(QStringLiteral("   Bitte mit Passwort neu legitimieren  "), parent);
    Frame2->setFont(arial(9, true));
    Text7 = new QLineEdit(Frame2);
    Text7->setFont(arial(10));
    Text7->setMaxLength(12);
    Text7->setAccessibleName(QStringLiteral("Passwort"));
    widgets::setPasswordChar(Text7, u'*');
    Command9 = bildKnopf(Frame2, Bild::Pruefen, QStringLiteral(" Passwort prüfen "));
    Command10 = bildKnopf(Frame2, Bild::Schliessen, QStringLiteral(" Rahmen ausblenden "));
    auto* layout = new QHBoxLayout(Frame2);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->addWidget(Text7);
    layout->addWidget(Command9);
    layout->addWidget(Command10);
    Frame2->setVisible(false);
    connect(Command9, &QToolButton::clicked, this, &FormClavido::Command9_Click);
    connect(Command10, &QToolButton::clicked, this, &FormClavido::Command10_Click);
    connect(Text7, &QLineEdit::returnPressed, this, &FormClavido::Command9_Click);
    connect(Check1, &QCheckBox::clicked, this, &FormClavido::Check1_Click);
}

void FormClavido::beobachten(QWidget* control) {
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void FormClavido::baueFenster() {
    baueMenue();
    auto* mitte = new QWidget(this);
    setCentralWidget(mitte);

    auto* leiste = new QFrame(mitte);
    leiste->setFrameShape(QFrame::StyledPanel);
    baueKnopfleiste(leiste);

    Label1 = new QLabel(QStringLiteral("lumoClavido"), mitte);
    QFont produkt(QStringLiteral("Arial Black"), 20);
    produkt.setWeight(QFont::Black);
    Label1->setFont(produkt);
    Label1->setStyleSheet(QStringLiteral("color: #28345a;"));
    Label11 = new QLabel(mitte);
    Label11->setTextFormat(Qt::PlainText);
    Label11->setToolTip(QStringLiteral(" Datum / Uhrzeit "));
    Label11->setFont(arial(9));
    Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Combo2 = new QComboBox(mitte);
    Combo2->setToolTip(QStringLiteral(" Kategorie wählen "));
    Combo2->setAccessibleName(QStringLiteral("Kategorie"));
    Combo1 = new QComboBox(mitte);
    Combo1->setToolTip(QStringLiteral(" Eintrag auswählen "));
    Combo1->setAccessibleName(QStringLiteral("Datensatz"));
    Combo1->setEnabled(false);
    for (QComboBox* liste : {Combo2, Combo1}) {
        liste->setFont(arial(10));
        liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        liste->setMinimumContentsLength(18);
        liste->setMaxVisibleItems(20);
    }
    Label12 = new QLabel(QStringLiteral("< Kategorie          Datensatz >"), mitte);
    Label12->setFont(arial(8));
    Label12->setAlignment(Qt::AlignCenter);
    Label3 = zaehler(QStringLiteral(" Anzahl Einträge der Kategorie  "), mitte);
    Label2 = zaehler(QStringLiteral(" Gesamtzahl Einträge des Benutzers  "), mitte);

    Label5 = feldBeschriftung(QStringLiteral("Datensatz-Bezeichnung"), mitte);
    Text6 = anzeigeFeld(mitte);
    Label6 = feldBeschriftung(QStringLiteral("Konto-Nr / User-ID"), mitte);
    Text5 = anzeigeFeld(mitte, u'*');
    Label7 = feldBeschriftung(QStringLiteral("PIN / Kennwort"), mitte);
    Text4 = anzeigeFeld(mitte, u'*');
    Label9 = feldBeschriftung(QStringLiteral("URL"), mitte);
    Text9 = anzeigeFeld(mitte, u'*');
    Label13 = feldBeschriftung(QStringLiteral("Bemerkungen"), mitte);
    Text13 = new LimitedTextEdit(mitte);
    Text13->setReadOnly(true);
    Text13->setFont(arial(10));
    Text13->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text13->setTabChangesFocus(true);
    Label5->setBuddy(Text6);
    Label6->setBuddy(Text5);
    Label7->setBuddy(Text4);
    Label9->setBuddy(Text9);
    Label13->setBuddy(Text13);
    Label14 = new QLabel(QStringLiteral("( nur in Klartext ! )"), mitte);
    Label14->setFont(arial(8));
    Label14->setStyleSheet(QStringLiteral("color: #d00000;"));
    Check1 = new QCheckBox(QStringLiteral("Daten in Klartext"), mitte);
    Check1->setEnabled(false);
    baueKlartextRahmen(mitte);
    Label10 = new QLabel(ruheHinweis(), mitte);
    Label10->setTextFormat(Qt::PlainText);
    Label10->setToolTip(QStringLiteral(" Hinweise zum Programm "));
    Label10->setFont(arial(9));
    Label10->setFrameShape(QFrame::Panel);
    Label10->setFrameShadow(QFrame::Sunken);
    Label10->setMinimumWidth(100);

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(Label1);
    kopf->addStretch();
    kopf->addWidget(Label11);

    auto* auswahl = new QGridLayout;
    auswahl->addWidget(Combo2, 0, 0);
    auswahl->addWidget(Label12, 0, 1);
    auswahl->addWidget(Combo1, 0, 2);
    auswahl->addWidget(Label3, 1, 0, Qt::AlignLeft);
    auswahl->addWidget(Label2, 1, 2, Qt::AlignRight);
    auswahl->setColumnStretch(0, 1);
    auswahl->setColumnStretch(2, 1);

    auto* felder = new QVBoxLayout;
    felder->setSpacing(2);
    for (auto [label, box] : {std::pair<QLabel*, QWidget*>{Label5, Text6},
                              {Label6, Text5},
                              {Label7, Text4},
                              {Label9, Text9}}) {
        felder->addSpacing(4);
        felder->addWidget(label);
        felder->addWidget(box);
    }
    felder->addWidget(Label14, 0, Qt::AlignRight);
    felder->addWidget(Label13);
    felder->addWidget(Text13, 1);
    felder->addSpacing(4);
    auto* klartext = new QHBoxLayout;
    klartext->addWidget(Check1);
    klartext->addSpacing(12);
    klartext->addWidget(Frame2);
    klartext->addStretch();
    felder->addLayout(klartext);

    auto* layout = new QVBoxLayout(mitte);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(leiste);
    auto* inhalt = new QVBoxLayout;
    inhalt->setContentsMargins(12, 4, 12, 0);
    inhalt->addLayout(kopf);
    inhalt->addSpacing(4);
    inhalt->addLayout(auswahl);
    inhalt->addLayout(felder, 1);
    layout->addLayout(inhalt, 1);
    auto* hinweis = new QHBoxLayout;
    hinweis->setContentsMargins(6, 0, 6, 0);
    hinweis->addWidget(Label10);
    layout->addLayout(hinweis);

    setTabOrder(Command1, Combo2);
    setTabOrder(Combo2, Combo1);
    setTabOrder(Combo1, Text6);
    setTabOrder(Text6, Text5);
    setTabOrder(Text5, Text4);
    setTabOrder(Text4, Text9);
    setTabOrder(Text9, Text13);
    setTabOrder(Text13, Check1);
    setTabOrder(Check1, Text7);
    setTabOrder(Text7, Command9);
    setTabOrder(Command9, Command10);

    mitte->setMouseTracking(true);
    mitte->installEventFilter(this);
    for (QWidget* w :
         {static_cast<QWidget*>(Check1), static_cast<QWidget*>(Text5), static_cast<QWidget*>(Text4),
          static_cast<QWidget*>(Text9), static_cast<QWidget*>(Text6),
          static_cast<QWidget*>(Text13->viewport()), static_cast<QWidget*>(Label11)})
        beobachten(w);
    resize(640, 640);
}
