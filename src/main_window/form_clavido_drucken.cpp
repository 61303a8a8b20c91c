#include "main_window/form_clavido.h"

#include "app/clavido.h"
#include "maintenance/druckliste.h"

#include <QComboBox>
#include <QDate>
#include <QLocale>

void FormClavido::menu_drucken_Click() {
    const auto antwort =
        app.meldung(QStringLiteral("Vorsicht!\r\n\r\n"
                                   "Das Drucken der Liste gefährdet die Geheimhaltung!     \r\n"
                                   "Möchten Sie die Liste trotzdem drucken?"),
                    msg::Exclamation | msg::YesNo);
    if (antwort != msg::Yes)
        return;

    QStringList kategorien;
    for (int i = 0; i < Combo2->count(); ++i)
        kategorien << Combo2->itemText(i);
    db::Recordset& rs = Daten1.Recordset();
    // Edit, delete and copy work on the shown entry's row: stand on it again after the walk.
    const db::Mark gezeigt = rs.Bookmark();
    const QString text =
        druckliste::dokument(kategorien, app.sitzung.aktBenutzer,
                             QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), rs);
    rs.SetBookmark(gezeigt);

    switch (app.dienste.printer.printText(text, QStringLiteral("Courier New"), 8, false)) {
    case Printer::Result::Printed:
        break;
    case Printer::Result::NoPrinter:
        app.meldung(QStringLiteral("Es ist kein Drucker eingerichtet. "
                                   "Die Liste kann nicht gedruckt werden."),
                    msg::Exclamation);
        break;
    case Printer::Result::Failed:
        app.meldung(QStringLiteral("Die Liste konnte nicht gedruckt werden."), msg::Exclamation);
        break;
    }
}
