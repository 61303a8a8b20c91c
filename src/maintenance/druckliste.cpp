#include "maintenance/druckliste.h"

#include "store/field_cipher.h"

#include <QHash>

#include <algorithm>

namespace druckliste {

namespace {

constexpr qsizetype kBreite = 30;
const QString kEinzug(10, u' ');
const QString kLuecke = QStringLiteral("  ");
const QString kZeilenende = QStringLiteral("\r\n");
const QString kTrennblock =
    kEinzug + QString(5 * kBreite + 4 * kLuecke.size(), u'_') + kZeilenende + kZeilenende;
const QString kKopfzeile = QStringLiteral(
    "          Bezeichnung                     Geheimwort 1                    Geheimwort 2    "
    "                Zusatz                          Anmerkung                     \r\n");

bool trenntZeilen(QChar c) {
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

// Without line breaks or tabs, so that no value can break the fixed columns.
QString einzeilig(const QString& wert) {
    if (std::none_of(wert.cbegin(), wert.cend(), trenntZeilen))
        return wert;
    QString ergebnis;
    ergebnis.reserve(wert.size());
    for (qsizetype i = 0; i < wert.size(); ++i) {
        if (wert[i] == u'\r' && i + 1 < wert.size() && wert[i + 1] == u'\n')
            continue; // the LF stands for the whole line break
        ergebnis += trenntZeilen(wert[i]) ? QChar(u' ') : wert[i];
    }
    return ergebnis;
}

void spalteAnhaengen(QString& zeile, const QString& wert) {
    const QString text = einzeilig(wert);
    qsizetype n = std::min(text.size(), kBreite);
    if (n < text.size() && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate())
        --n;
    zeile.append(QStringView(text).first(n));
    zeile.append(QString(kBreite - n, u' '));
}

} // namespace

QString dokument(const QStringList& kategorien, const QString& benutzer, const QString& datum,
                 db::Recordset& zeilen) {
    // One walk over the table: the user's lines collected per category, then
    // written out in the order of the list.
    QHash<QString, QString> abschnitte;
    for (const QString& kategorie : kategorien)
        abschnitte.insert(kategorie, QString());
    const int iBenutzer = zeilen.fieldIndex(QStringLiteral("Benutzer"));
    const int iKategorie = zeilen.fieldIndex(QStringLiteral("Kategorie"));
    const int iBezeichnung = zeilen.fieldIndex(QStringLiteral("Bezeichnung"));
    const int iBemerkungen = zeilen.fieldIndex(QStringLiteral("Bemerkungen"));
    for (zeilen.MoveFirst(); !zeilen.Eof(); zeilen.MoveNext()) {
        if (zeilen.Fields(iBenutzer).Value() != benutzer)
            continue;
        const auto abschnitt = abschnitte.find(zeilen.Fields(iKategorie).Value());
        if (abschnitt == abschnitte.end())
            continue;
        QString& z = *abschnitt;
        z += kEinzug;
        spalteAnhaengen(z, zeilen.Fields(iBezeichnung).Value());
        // The secrets by position: Konto-Nr, Pin, Zusatz.
        for (int position : {1, 2, 3}) {
            z += kLuecke;
            spalteAnhaengen(z, entschluesseln(zeilen.Fields(position).Value(), kFeldSchluessel));
        }
        z += kLuecke;
        spalteAnhaengen(z, zeilen.Fields(iBemerkungen).Value());
        z += kZeilenende;
    }

    QString rumpf;
    bool ersterAbschnitt = true;
    for (const QString& kategorie : kategorien) {
        rumpf += ersterAbschnitt ? kZeilenende : kTrennblock;
        ersterAbschnitt = false;
        rumpf += QStringLiteral("          Kategorie = ") + einzeilig(kategorie) + kZeilenende +
                 kZeilenende;
        rumpf += abschnitte.value(kategorie);
    }

    const QString titel = QStringLiteral("          LISTE Geheimwörter vom  ") + datum +
                          QStringLiteral("  für Benutzer:  ") + einzeilig(benutzer) + kZeilenende +
                          kZeilenende;
    return kZeilenende + titel + kTrennblock + kKopfzeile + kTrennblock + rumpf + kTrennblock +
           kZeilenende + kZeilenende +
           QStringLiteral(
               "          Vorsicht!  Bewahren Sie diese Liste an einem sicheren Platz auf!");
}

} // namespace druckliste
