#include "maintenance/form_einstellungen.h"

#include "app/clavido.h"
#include "main_window/form_clavido.h"
#include "platform/wait_cursor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel* ueberschrift(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A group of two option buttons, announced by its heading (without the blanks
// that place the heading on the screen).
QButtonGroup* knopfGruppe(QGroupBox* rahmen, QLabel* kopf, QRadioButton* ja, QRadioButton* nein) {
    rahmen->setAccessibleName(kopf->text().simplified());
    auto* knoepfe = new QButtonGroup(rahmen);
    knoepfe->addButton(ja);
    knoepfe->addButton(nein);
    auto* layout = new QHBoxLayout(rahmen);
    layout->addWidget(ja);
    layout->addSpacing(40);
    layout->addWidget(nein);
    layout->addStretch();
    return knoepfe;
}

} // namespace

FormEinstellungen::FormEinstellungen(Clavido& app)
    : Formular(app) {
    Frame1 = new QGroupBox(QStringLiteral(" Einstellungen "), this);
    QFont arial = Frame1->font();
    arial.setFamily(QStringLiteral("Arial"));
    Frame1->setFont(arial);

    Label1 = ueberschrift(QStringLiteral("             Bei Programmende      Datenbankdatei "
                                         "sichern bzw. wieder herstellen"),
                          Frame1);
    // The first pair shares Frame1 as its group; this box only gives it a name.
    sichernGruppe_ = new QGroupBox(Frame1);
    sichernGruppe_->setFlat(true);
    sichernGruppe_->setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; }"));
    Option1 = new QRadioButton(QStringLiteral("Ja"), sichernGruppe_);
    Option2 = new QRadioButton(QStringLiteral("Nein"), sichernGruppe_);
    sichernKnoepfe_ = knopfGruppe(sichernGruppe_, Label1, Option1, Option2);

    Label2 = ueberschrift(QStringLiteral("               Rückfragen vor Auführen einer Funktion"),
                          Frame1);
    Frame2 = new QGroupBox(Frame1);
    Option3 = new QRadioButton(QStringLiteral("ja"), Frame2);
    Option4 = new QRadioButton(QStringLiteral("nein"), Frame2);
    fragenKnoepfe_ = knopfGruppe(Frame2, Label2, Option3, Option4);

    // Left to right, also for Tab.
    Command2 = new QPushButton(QStringLiteral(" Einstellung speichern "), Frame1);
    Command1 = new QPushButton(QStringLiteral(" Fenster schließen "), Frame1);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Command2);
    knoepfe->addStretch();
    knoepfe->addWidget(Command1);
    auto* innen = new QVBoxLayout(Frame1);
    innen->addWidget(Label1);
    innen->addWidget(sichernGruppe_);
    innen->addSpacing(8);
    innen->addWidget(Label2);
    innen->addWidget(Frame2);
    innen->addSpacing(12);
    innen->addLayout(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, &FormEinstellungen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormEinstellungen::Command2_Click);
    // Also the selection made by the loading counts, not only the user's click.
    connect(Option3, &QRadioButton::toggled, this, [this](bool an) {
        if (an)
            Option3_Click();
    });
    connect(Option4, &QRadioButton::toggled, this, [this](bool an) {
        if (an)
            Option4_Click();
    });
    zuruecksetzen();
}

void FormEinstellungen::zuruecksetzen() {
    // Nothing selected, so that the next load selects afresh and is heard.
    for (QButtonGroup* gruppe : {sichernKnoepfe_, fragenKnoepfe_}) {
        gruppe->setExclusive(false);
        for (QAbstractButton* knopf : gruppe->buttons()) {
            const QSignalBlocker still(knopf);
            knopf->setChecked(false);
        }
        gruppe->setExclusive(true);
    }
}

// The dialog shows what the current row holds, not the variables in memory.
void FormEinstellungen::Form_Load() {
    db::Recordset& rs = app.formClavido().Daten1.Recordset();
    const QString ja = QStringLiteral("1");
    (rs.Fields(QStringLiteral("Sichern")).Value() == ja ? Option1 : Option2)->setChecked(true);
    (rs.Fields(QStringLiteral("fragen")).Value() == ja ? Option3 : Option4)->setChecked(true);
}

void FormEinstellungen::Option3_Click() {
    app.sitzung.optFragen = QStringLiteral("1");
}

void FormEinstellungen::Option4_Click() {
    app.sitzung.optFragen = QStringLiteral("0");
}

// Every row of the table, of all users, in one transaction: all of them or,
// on a failure, none. Afterwards the recordset stands on merkBookmark again.
bool FormEinstellungen::zeilenSchreiben(const QString& sichern, const QString& fragen) {
    // Rows another copy of the program added meanwhile get the settings too.
    const db::Error fehler = app.formClavido().inEinerTransaktion([&](db::Recordset& rs) {
        return rs.SetzeAlle(
            {{QStringLiteral("Sichern"), sichern}, {QStringLiteral("fragen"), fragen}});
    });
    if (fehler) {
        app.meldung(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\r\n%1"
                                   "\r\n\r\nEs wurde nichts geändert.")
                        .arg(fehler.text),
                    msg::Exclamation);
        return false;
    }
    return true;
}

void FormEinstellungen::Command1_Click() {
    Unload();
}

void FormEinstellungen::Command2_Click() {
    Sitzung& s = app.sitzung;
    db::Recordset& rs = app.formClavido().Daten1.Recordset();
    s.merkBookmark = rs.Bookmark();
    QString sichern = s.optSichern;
    if (Option1->isChecked())
        sichern = QStringLiteral("1");
    else if (Option2->isChecked())
        sichern = QStringLiteral("0");
    QString fragen = s.optFragen;
    if (Option3->isChecked())
        fragen = QStringLiteral("1");
    else if (Option4->isChecked())
        fragen = QStringLiteral("0");

    // The variables follow only what reached the file.
    if (!zeilenSchreiben(sichern, fragen))
        return;
    s.optSichern = sichern;
    s.optFragen = fragen;
    app.meldung(QStringLiteral("Ihre Einstellungen wurden gesichert!"), msg::Exclamation);
    Unload();
}
