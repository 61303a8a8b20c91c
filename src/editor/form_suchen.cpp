#include "editor/form_suchen.h"

#include "app/clavido.h"
#include "app/pictures.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/wait_cursor.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

FormSuchen::FormSuchen(Clavido& app)
    : Formular(app) {
    setWindowTitle(QStringLiteral("Datensatzbezeichnung suchen..."));
    Label1 = new QLabel(QStringLiteral("Suchbegriff"), this);
    Text1 = new QLineEdit(this);
    Text1->setMinimumWidth(260);
    Label1->setBuddy(Text1);
    Image1 = new QLabel(this);
    Image1->setPixmap(bildPixmap(Bild::Suchen, 32));
    Command4 = new QPushButton(QStringLiteral("?"), this);
    Command1 = new QPushButton(QStringLiteral("&Suchen"), this);
    Command2 = new QPushButton(QStringLiteral("&Weiter suchen..."), this);
    Command3 = new QPushButton(QStringLiteral("&Abbrechen"), this);
    Command4->setAccessibleName(QStringLiteral("Hinweis zur Suche"));
    // Enter in the box searches; on a focused button it presses that button.
    for (QPushButton* knopf : {Command4, Command1, Command2, Command3})
        knopf->setAutoDefault(false);

    auto* zeile = new QHBoxLayout;
    zeile->addWidget(Label1);
    zeile->addWidget(Text1, 1);
    zeile->addWidget(Image1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Command4);
    knoepfe->addWidget(Command1);
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(zeile);
    layout->addSpacing(6);
    layout->addLayout(knoepfe);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);

    connect(Text1, &QLineEdit::textChanged, this, &FormSuchen::Text1_Change);
    connect(Text1, &QLineEdit::returnPressed, this, &FormSuchen::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &FormSuchen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormSuchen::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FormSuchen::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FormSuchen::Command4_Click);
    zuruecksetzen();
}

void FormSuchen::zuruecksetzen() {
    Text1->clear();
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    letzterTreffer_.reset();
}

void FormSuchen::Form_Load() {
    // Left at the main window's left edge / 1.2, top at its height; kept on the screen.
    const QWidget& haupt = app.formClavido();
    QPoint ort(int(haupt.x() / 1.2), haupt.height());
    adjustSize();
    if (const QScreen* screen =
            haupt.screen() ? haupt.screen() : QGuiApplication::primaryScreen()) {
        const QRect frei = screen->availableGeometry();
        ort.setX(std::clamp(ort.x(), frei.left(), std::max(frei.left(), frei.right() - width())));
        ort.setY(std::clamp(ort.y(), frei.top(), std::max(frei.top(), frei.bottom() - height())));
    }
    move(ort);
}

void FormSuchen::showEvent(QShowEvent* event) {
    Formular::showEvent(event);
    Text1->setFocus();
}

void FormSuchen::Text1_Change() {
    Command1->setEnabled(!Text1->text().isEmpty());
}

void FormSuchen::Command1_Click() {
    suchen(true);
}

void FormSuchen::Command2_Click() {
    suchen(false);
}

void FormSuchen::suchen(bool vonAnfang) {
    if (Text1->text().isEmpty()) {
        app.meldung(QStringLiteral("Geben Sie Sie bitte einen Suchbegriff ein!"), msg::Exclamation);
        return;
    }
    Sitzung& s = app.sitzung;
    FormClavido& haupt = app.formClavido();
    db::Recordset& rs = haupt.Daten1.Recordset();
    const db::Mark angezeigt = rs.Bookmark();
    const QString begriff = Text1->text().toLower();
    bool treffer = false;
    {
        WaitCursor warten;
        const int iBenutzer = rs.fieldIndex(QStringLiteral("Benutzer"));
        const int iBezeichnung = rs.fieldIndex(QStringLiteral("Bezeichnung"));
        if (vonAnfang)
            rs.MoveFirst();
        else
            rs.MoveNext();
        for (; !rs.Eof(); rs.MoveNext()) {
            if (rs.Fields(iBenutzer).Value() == s.aktBenutzer &&
                rs.Fields(iBezeichnung).Value().toLower().contains(begriff)) {
                s.merkBookmark = rs.Bookmark();
                treffer = true;
                break;
            }
        }
    }
    if (!treffer) {
        // The main window still shows its entry: its commands act on that row.
        rs.SetBookmark(angezeigt);
        if (vonAnfang) {
            app.meldung(QStringLiteral("Keine Datensatzbezeichnung mit dem Suchbegriff gefunden!"),
                        msg::Critical);
            Command1->setEnabled(true);
            Command2->setEnabled(false);
            Text1->clear();
        } else {
            app.meldung(
                QStringLiteral("Keine weitere Datensatzbezeichnung mit dem Suchbegriff gefunden!"),
                msg::Critical);
            Text1->clear();
            Command1->setEnabled(true);
            Command2->setEnabled(false);
        }
        Text1->setFocus();
        return;
    }
    app.meldung(vonAnfang ? QStringLiteral("Datensatzbezeichnung mit dem Suchbegriff gefunden!")
                          : QStringLiteral("Nächste Datensatzbezeichnung mit dem Suchbegriff "
                                           "gefunden!"),
                msg::Exclamation);
    rs.SetBookmark(s.merkBookmark);
    letzterTreffer_ = s.merkBookmark;
    trefferZeigen();
    Command2->setEnabled(true);
    Command1->setEnabled(false);
}

// Shows the hit in the main window: the first items of its lists take the
// hit's category and designation in place, the boxes its fields.
void FormSuchen::trefferZeigen() {
    FormClavido& haupt = app.formClavido();
    db::Recordset& rs = haupt.Daten1.Recordset();
    if (haupt.Combo2->count() > 0)
        haupt.Combo2->setItemText(0, rs.Fields(QStringLiteral("Kategorie")).Value());
    if (haupt.Combo1->count() > 0)
        haupt.Combo1->setItemText(0, rs.Fields(QStringLiteral("Bezeichnung")).Value());
    const QString konto = rs.Fields(QStringLiteral("Konto-Nr")).Value();
    const QString pin = rs.Fields(QStringLiteral("Pin")).Value();
    const QString zusatz = rs.Fields(QStringLiteral("Zusatz")).Value();
    const bool klar = haupt.Check1->isChecked();
    haupt.Text5->setText(klar ? entschluesseln(konto, kFeldSchluessel) : konto);
    haupt.Text4->setText(klar ? entschluesseln(pin, kFeldSchluessel) : pin);
    haupt.Text9->setText(klar ? entschluesseln(zusatz, kFeldSchluessel) : zusatz);
    haupt.Text6->setText(rs.Fields(QStringLiteral("Bezeichnung")).Value());
    haupt.Text13->setPlainText(rs.Fields(QStringLiteral("Bemerkungen")).Value());
    haupt.Label6->setText(rs.Fields(QStringLiteral("Bezeichnung1")).Value());
    haupt.Label7->setText(rs.Fields(QStringLiteral("Bezeichnung2")).Value());
    haupt.Label9->setText(rs.Fields(QStringLiteral("Bezeichnung3")).Value());
    for (QWidget* w :
         {static_cast<QWidget*>(haupt.Command5), static_cast<QWidget*>(haupt.Command3)})
        w->setEnabled(true);
    haupt.menu_edit->setEnabled(true);
    haupt.menu_loeschen->setEnabled(true);
    app.sitzung.listenAktion = 0;
}

void FormSuchen::Command3_Click() {
    const db::Mark treffer = letzterTreffer_;
    Unload();
    if (!treffer)
        return;
    // The lists were changed in place for the hits: build them true again,
    // with the last hit chosen and the recordset on its row.
    FormClavido& haupt = app.formClavido();
    db::Recordset& rs = haupt.Daten1.Recordset();
    if (!rs.SetBookmark(treffer))
        return;
    const QString kategorie = rs.Fields(QStringLiteral("Kategorie")).Value();
    const QString bezeichnung = rs.Fields(QStringLiteral("Bezeichnung")).Value();
    WaitCursor warten;
    haupt.kategorienAufbauen();
    haupt.zurTabelle();
    haupt.kategorieWaehlen(kategorie);
    haupt.eintragWaehlen(bezeichnung);
}

void FormSuchen::Command4_Click() {
    const QString crlf = QStringLiteral("\r\n");
    app.meldung(
        QStringLiteral("HINWEIS:") + crlf + crlf +
            QStringLiteral("Gesucht wird nur in den Datensatzbezeichnungen!") + crlf + crlf +
            QStringLiteral("Geben Sie einen Suchbegriff ein oder Teile davon.") + crlf +
            QStringLiteral("Klicken Sie dann auf den Schalter \"Suchen\". Sofort wird") + crlf +
            QStringLiteral(
                "der erste Datensatz mit dem Suchbegriff angezeigt, sofern            ") +
            crlf + QStringLiteral("vorhanden. Möchten Sie weitere Datensätze mit dem") + crlf +
            QStringLiteral("Suchbegriff erhalten, klicken Sie auf den Schalter") + crlf +
            QStringLiteral("\"Weiter suchen...\". Ist der Suchbegriff in keinem weiteren") + crlf +
            QStringLiteral("Datensatz vorhanden, wird eine entsprechende Meldung") + crlf +
            QStringLiteral("eingeblendet.") + crlf,
        msg::Information);
}
