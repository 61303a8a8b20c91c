#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// The database file as another installation sees it: written and read with
// the engine's own calls, bypassing the program's store.

// One entry row; the password and the three secrets are given in plain text
// and stored enciphered with the field key, as the program does.
struct Eintrag {
    QString benutzer;
    QString passwort;
    QString kategorie;
    QString bezeichnung;
    QString konto = QStringLiteral("k");
    QString pin = QStringLiteral("p");
    QString zusatz = QStringLiteral("z");
    QString bemerkungen = QStringLiteral("b");
    QString bezeichnung1 = QStringLiteral("Konto-Nr / User-ID");
    QString bezeichnung2 = QStringLiteral("PIN / Kennwort");
    QString bezeichnung3 = QStringLiteral("URL");
    QString sichern = QStringLiteral("1");
    QString fragen = QStringLiteral("1");
};

// A row read back: column name -> value (a null QVariant for NULL).
using RohZeile = QMap<QString, QVariant>;

namespace rawdb {

// Creates the file with table Haupt if it is not there and appends the rows.
void schreibe(const QString& path, const std::vector<Eintrag>& rows);
// Runs one statement on the file (keyed), for setting up odd rows.
void ausfuehren(const QString& path, const QString& sql);
std::vector<RohZeile> lese(const QString& path);
// The UTF-8 bytes the file holds in `column` of the row with this rowid.
QByteArray bytes(const QString& path, const QString& column, qint64 rowid);
QByteArray dateiInhalt(const QString& path);
// One column of rows read back, as text.
QStringList spalte(const std::vector<RohZeile>& rows, const char* name);

} // namespace rawdb
