#include "maintenance/druckliste.h"

#include "store/field_cipher.h"

#include <QHash>

#include <algorithm>
#include <array>

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

// A value in pieces of a column's width, never split inside a surrogate
// pair: a longer value goes on below in its own column, so that the paper
// holds every character of it.
QStringList stuecke(const QString& wert) {
    const QString text = einzeilig(wert);
    QStringList ergebnis;
    qsizetype von = 0;
    do {
        qsizetype n = std::min(text.size() - von, kBreite);
        if (von + n < text.size() && text[von + n - 1].isHighSurrogate() &&
            text[von + n].isLowSurrogate())
            --n;
        ergebnis << text.mid(von, n);
        von += n;
    } while (von < text.size());
    return ergebnis;
}

void eintragAnhaengen(QString& z, const std::array<QStringList, 5>& spalten) {
    qsizetype zeilen = 0;
    for (const QStringList& spalte : spalten)
        zeilen = std::max(zeilen, spalte.size());
    for (qsizetype k = 0; k < zeilen; ++k) {
        z += kEinzug;
        for (size_t i = 0; i < spalten.size(); ++i) {
            if (i)
                z += kLuecke;
            const QString teil = spalten[i].value(k);
            z += teil + QString(kBreite - teil.size(), u' ');
        }
        z += kZeilenende;
    }
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
        // The secrets by position: Konto-Nr, Pin, Zusatz.
        const auto geheim = [&](int position) {
            return stuecke(entschluesseln(zeilen.Fields(position).Value(), kFeldSchluessel));
        };
        eintragAnhaengen(*abschnitt,
                         {stuecke(zeilen.Fields(iBezeichnung).Value()), geheim(1), geheim(2),
                          geheim(3), stuecke(zeilen.Fields(iBemerkungen).Value())});
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
