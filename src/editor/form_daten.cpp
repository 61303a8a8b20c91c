#include "editor/form_daten.h"

#include "app/clavido.h"
#include "app/pictures.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QFont& eingabeSchrift() {
    // Explicitly not bold, or the frame's bold caption font would be inherited.
    static const QFont font = [] {
        QFont f(QStringLiteral("Arial"), 8);
        f.setBold(false);
        return f;
    }();
    return font;
}

QLabel* beschriftung(const QString& text, QWidget* parent, const char* farbe = "#00008b") {
    auto* label = new QLabel(text, parent);
    // Captions come from the rows: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(eingabeSchrift());
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(farbe)));
    return label;
}

QLineEdit* eingabe(int limit, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setFont(eingabeSchrift());
    setTypingLimit(box, limit);
    return box;
}

QToolButton* bildKnopf(Bild bild, const QString& tip, QWidget* parent) {
    auto* knopf = new QToolButton(parent);
    knopf->setIcon(bildIcon(bild));
    knopf->setIconSize(QSize(24, 24));
    knopf->setFixedSize(34, 34);
    knopf->setToolTip(tip);
    knopf->setAccessibleName(tip.trimmed());
    knopf->setFocusPolicy(Qt::StrongFocus);
    return knopf;
}

} // namespace

FormDaten::FormDaten(Clavido& app)
    : Formular(app) {
    baueFenster();
    for (QLineEdit* box : {Text2, Text3, Text8})
        app.geheimFelder.add(box);
    zuruecksetzen();
}

void FormDaten::baueFenster() {
    Frame1 = new QGroupBox(this);
    QFont rahmen(QStringLiteral("Arial"), 12);
    rahmen.setBold(true);
    Frame1->setFont(rahmen);

    Label1 = beschriftung(QStringLiteral("Kategorie"), Frame1);
    Combo1 = new QComboBox(Frame1);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Categories differing only in letter case are different: no case-blind completion.
    Combo1->setCompleter(nullptr);
    Combo1->setFont(eingabeSchrift());
    Label5 = beschriftung(QStringLiteral("Datensatz-Bezeichnung  (bis zu 30 Satzzeichen)"), Frame1);
    Text1 = eingabe(30, Frame1);
    Label6 = beschriftung(QString(), Frame1);
    Text2 = eingabe(150, Frame1);
    Label7 = beschriftung(QString(), Frame1);
    Text3 = eingabe(150, Frame1);
    Label9 = beschriftung(QString(), Frame1);
    Text8 = eingabe(150, Frame1);
    Label13 = beschriftung(QStringLiteral("Bemerkungen"), Frame1);
    Label14 = beschriftung(QStringLiteral("( nur in Klartext ! )"), Frame1, "#d00000");
    Text14 = new LimitedTextEdit(Frame1);
    Text14->setFont(eingabeSchrift());
    Text14->setMaxLength(300);
    Text14->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text14->setTabChangesFocus(true);
    Label12 = beschriftung(QStringLiteral("             Textbox- Bezeichnungen"), Frame1);
    QFont fett = eingabeSchrift();
    fett.setBold(true);
    Label12->setFont(fett);
    Text10 = eingabe(50, Frame1);
    Text11 = eingabe(50, Frame1);
    Text12 = eingabe(50, Frame1);
    Command2 = bildKnopf(Bild::Speichern, QStringLiteral(" Datensatz speichern "), Frame1);
    Command11 = bildKnopf(Bild::Hilfe, QStringLiteral(" Hilfe zum Programm "), Frame1);
    Command1 = bildKnopf(Bild::Schliessen, QStringLiteral(" Fenster schließen "), Frame1);

    Label1->setBuddy(Combo1);
    Label5->setBuddy(Text1);
    Label6->setBuddy(Text2);
    Label7->setBuddy(Text3);
    Label9->setBuddy(Text8);
    Label13->setBuddy(Text14);
    Label12->setBuddy(Text10);
    Text10->setAccessibleName(QStringLiteral("Bezeichnung des ersten Feldes"));
    Text11->setAccessibleName(QStringLiteral("Bezeichnung des zweiten Feldes"));
    Text12->setAccessibleName(QStringLiteral("Bezeichnung des dritten Feldes"));

    // Top to bottom: category, designation, the three secrets under their
    // captions, remarks, the caption boxes beside their heading, the buttons.
    auto* kategorie = new QHBoxLayout;
    kategorie->addWidget(Label1);
    kategorie->addWidget(Combo1, 1);
    kategorie->addStretch(1);

    auto* felder = new QVBoxLayout;
    felder->setSpacing(2);
    for (auto [label, box] : {std::pair<QLabel*, QWidget*>{Label5, Text1},
                              {Label6, Text2},
                              {Label7, Text3},
                              {Label9, Text8}}) {
        felder->addWidget(label);
        felder->addWidget(box);
        felder->addSpacing(4);
    }
    auto* bemerkungKopf = new QHBoxLayout;
    bemerkungKopf->addWidget(Label13);
    bemerkungKopf->addSpacing(12);
    bemerkungKopf->addWidget(Label14);
    bemerkungKopf->addStretch();
    felder->addLayout(bemerkungKopf);
    felder->addWidget(Text14, 1);

    auto* beschriftungen = new QHBoxLayout;
    beschriftungen->addWidget(Label12);
    beschriftungen->addWidget(Text10, 1);
    beschriftungen->addWidget(Text11, 1);
    beschriftungen->addWidget(Text12, 1);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(Command11);
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);

    auto* inhalt = new QVBoxLayout(Frame1);
    inhalt->addLayout(kategorie);
    inhalt->addSpacing(6);
    inhalt->addLayout(felder, 1);
    inhalt->addSpacing(8);
    inhalt->addLayout(beschriftungen);
    inhalt->addSpacing(4);
    inhalt->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(Frame1);

    const QList<QWidget*> tabs = {Combo1, Text1,  Text2,  Text3,    Text8,     Text14,
                                  Text10, Text11, Text12, Command2, Command11, Command1};
    for (int i = 1; i < tabs.size(); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);
    resize(632, 419);

    for (QLineEdit* box : {Text1, Text2, Text3, Text8, Text10, Text11, Text12})
        connect(box, &QLineEdit::textChanged, this, &FormDaten::Eingabe_Change);
    connect(Text14, &LimitedTextEdit::textChanged, this, &FormDaten::Eingabe_Change);
    // Choosing a category from the list counts as a change too, or a fully
    // filled entry could not be saved until some other box was touched.
    connect(Combo1, &QComboBox::currentTextChanged, this, &FormDaten::Eingabe_Change);
    connect(Command1, &QToolButton::clicked, this, &FormDaten::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &FormDaten::Command2_Click);
    connect(Command11, &QToolButton::clicked, this, &FormDaten::Command11_Click);
}

void FormDaten::zuruecksetzen() {
    Frame1->setTitle(QStringLiteral(" Datensatz editieren "));
    Combo1->clear();
    Combo1->setEditText(QString());
    for (QLineEdit* box : {Text1, Text2, Text3, Text8}) {
        fillText(box, QString());
        widgets::setPasswordChar(box, QChar());
    }
    Text1->setEnabled(true);
    Text14->fillText(QString());
    Label6->setText(QStringLiteral("Konto-Nr / User-ID"));
    Label7->setText(QStringLiteral("PIN / Kennwort"));
    Label9->setText(QStringLiteral("URL"));
    fillText(Text10, standardText10());
    fillText(Text11, QStringLiteral("PIN / Kennwort"));
    fillText(Text12, QStringLiteral("URL"));
    Command2->setEnabled(false);
}

void FormDaten::showEvent(QShowEvent* event) {
    Formular::showEvent(event);
    // Every opening starts in the first box, whatever had the focus at the last
    // close, and shows its focus frame as after a Tab.
    Combo1->setFocus(Qt::TabFocusReason);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void FormDaten::Form_Load() {
    // The user's categories in the order the table first shows them.
    db::Recordset& rs = app.formClavido().Daten1.Recordset();
    Sitzung& s = app.sitzung;
    s.merkBookmark = rs.Bookmark();
    Combo1->clear();
    const int iKategorie = rs.fieldIndex(QStringLiteral("Kategorie"));
    const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
    QStringList kategorien;
    QSet<QString> schonDa;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString kategorie = rs.Fields(iKategorie).Value();
        if (!schonDa.contains(kategorie) && rs.Fields(iBenutzer).Value() == s.aktBenutzer) {
            schonDa.insert(kategorie);
            kategorien << kategorie;
        }
    }
    widgets::setItems(Combo1, kategorien);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    rs.SetBookmark(s.merkBookmark);
}

void FormDaten::leereBeschriftungenFuellen(const QString& dritte) {
    if (Text10->text().isEmpty())
        Text10->setText(QStringLiteral("Konto-Nr / User-ID"));
    if (Text11->text().isEmpty())
        Text11->setText(QStringLiteral("PIN / Kennwort"));
    if (Text12->text().isEmpty())
        Text12->setText(dritte);
}

void FormDaten::setKategorie(const QString& kategorie) {
    Combo1->setEditText(kategorie);
}

void FormDaten::Eingabe_Change() {
    bool alleGefuellt = !Combo1->currentText().isEmpty() && !Text14->text().isEmpty();
    for (QLineEdit* box : {Text1, Text2, Text3, Text8, Text10, Text11, Text12})
        alleGefuellt = alleGefuellt && !box->text().isEmpty();
    Command2->setEnabled(alleGefuellt && app.sitzung.eingabeAktiv == 1);
}

void FormDaten::Command1_Click() {
    app.sitzung.eingabeAktiv = 0;
    Text1->setEnabled(true);
    // A first entry's row was started by the registration: it must not linger.
    db::Recordset& rs = app.formClavido().Daten1.Recordset();
    if (rs.editMode() != db::Recordset::EditMode::None)
        rs.CancelUpdate();
    Unload();
}

void FormDaten::Command11_Click() {
    app.hilfeAnzeigen(this);
}
