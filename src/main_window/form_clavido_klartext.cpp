#include "main_window/form_clavido.h"

#include "app/clavido.h"
#include "login/passwort.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QTime>
#include <QTimer>
#include <QToolButton>

namespace {

bool maskiert(const QLineEdit* box) {
    return widgets::passwordChar(box) == u'*';
}

} // namespace

QString FormClavido::ruheHinweis() {
    return QStringLiteral(" Zeigen Sie mit der Maus auf ein Feld, um einen Hinweis zu erhalten");
}

// The stored, enciphered secrets of the current row back into the boxes, masked.
void FormClavido::maskieren() {
    if (eigeneZeile()) {
        db::Recordset& rs = Daten1.Recordset();
        Text5->setText(rs.Fields(1).Value());
        Text4->setText(rs.Fields(2).Value());
        Text9->setText(rs.Fields(3).Value());
    }
    for (QLineEdit* box : {Text4, Text5, Text9})
        widgets::setPasswordChar(box, u'*');
}

void FormClavido::Check1_Click() {
    if (maskiert(Text5)) {
        Frame2->setVisible(true);
        Check1->setEnabled(false);
        Text7->setFocus();
    } else {
        maskieren();
        Check1->setEnabled(true);
    }
    Text7->clear();
}

void FormClavido::Command9_Click() {
    Sitzung& s = app.sitzung;
    s.gespPasswort = Text7->text();
    // An empty password closes the frame as its close button does.
    if (s.gespPasswort.isEmpty()) {
        Command10_Click();
        return;
    }
    if (versuch == 0)
        versuch = 1;
    if (passwoerterGleich(s.gespPasswort, s.aktPasswort)) {
        Frame2->setVisible(false);
        // What the file holds now: the entry shown may be gone meanwhile, and
        // then nothing is shown in its place.
        Check1->setChecked(false);
        if (!tabelleNachlesen()) {
            Check1->setEnabled(!Text6->text().isEmpty());
            Text7->clear();
            return;
        }
        Check1->setChecked(true);
        Check1->setEnabled(true);
        if (maskiert(Text5)) {
            db::Recordset& rs = Daten1.Recordset();
            Text5->setText(entschluesseln(rs.Fields(1).Value(), kFeldSchluessel));
            Text4->setText(entschluesseln(rs.Fields(2).Value(), kFeldSchluessel));
            Text9->setText(entschluesseln(rs.Fields(3).Value(), kFeldSchluessel));
            for (QLineEdit* box : {Text4, Text5, Text9})
                widgets::setPasswordChar(box, QChar());
        }
        // The hidden box need not keep the password.
        Text7->clear();
        return;
    }
    if (!falschesPasswort(app, versuch, Text7))
        Command10_Click();
}

void FormClavido::Command10_Click() {
    Check1->setChecked(false);
    Check1->setEnabled(true);
    Frame2->setVisible(false);
    // The hidden box need not keep what was typed.
    Text7->clear();
}

void FormClavido::Text_MouseUp(QLineEdit* box) {
    const bool frei = !maskiert(Text5) && !box->selectedText().isEmpty();
    Command12->setEnabled(frei);
    menu_kopieren->setEnabled(frei);
}

void FormClavido::Label11_Click() {
    const QLocale deutsch;
    const QString heute = deutsch.toString(QDate::currentDate(), QLocale::ShortFormat);
    Label11->setText(
        Label11->text() == heute ? QTime::currentTime().toString(QStringLiteral("hh:mm")) : heute);
}

void FormClavido::hinweisZeigen(QObject* unterDerMaus) {
    QString hinweis = ruheHinweis();
    if (unterDerMaus == Check1)
        hinweis = QStringLiteral(" Daten unverschlüsselt in Klartext anzeigen");
    else if (unterDerMaus == Text5)
        hinweis = QStringLiteral(" Platz für erstes Geheimwort");
    else if (unterDerMaus == Text4)
        hinweis = QStringLiteral(" Platz für zweites Geheimwort");
    else if (unterDerMaus == Text9)
        hinweis = QStringLiteral(" Platz für einen Zusatztext oder ein weiteres Geheimwort");
    else if (unterDerMaus == Text6)
        hinweis = QStringLiteral(" Bezeichnung für den Eintrag");
    else if (unterDerMaus == Text13->viewport())
        hinweis = QStringLiteral(" Anmerkungen zu diesem Datensatz");
    else if (unterDerMaus != centralWidget())
        return;
    Label10->setText(hinweis);
}

bool FormClavido::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
            // A move a control did not take comes here too: only the free
            // surface (labels included) brings the resting caption back.
            const QPoint wo = static_cast<QMouseEvent*>(event)->position().toPoint();
            for (QWidget* w = centralWidget()->childAt(wo); w; w = w->parentWidget()) {
                if (w == Check1 || w == Text5 || w == Text4 || w == Text9 || w == Text6 ||
                    w == Text13)
                    return false;
            }
        }
        if (watched != Label11)
            hinweisZeigen(watched);
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Label11 && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Label11_Click();
        } else if (auto* box = qobject_cast<QLineEdit*>(watched);
                   box && (box == Text5 || box == Text4 || box == Text9)) {
            // Once the box has taken the release, its selection is final.
            QTimer::singleShot(0, this, [this, box] { Text_MouseUp(box); });
        }
        break;
    case QEvent::KeyRelease:
        // A selection made with the keyboard (Shift with the arrows, Home or
        // End, Ctrl+A) counts as one made with the mouse.
        if (auto* box = qobject_cast<QLineEdit*>(watched);
            box && (box == Text5 || box == Text4 || box == Text9))
            Text_MouseUp(box);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
