#pragma once

#include "platform/db/recordset.h"

#include <QString>

// The program-wide variables: set at sign-in, read and written by every form.
struct Sitzung {
    QString aktBenutzer;
    QString aktPasswort;
    QString gespPasswort;
    QString optSichern = QStringLiteral("1");
    QString optFragen = QStringLiteral("1");
    QString optUebernommen = QStringLiteral("0");
    qint16 eingabeAktiv = 0;
    qint16 datenModus = 0;
    qint16 listenAktion = 0;
    db::Mark merkBookmark;
    QString letzteKategorie;
    qint16 ablageBenutzt = 0;
    QString sicherungsPfad;
    qint16 endeModus = 2;
};
