#include "windows_datei.h"

#include "store/field_cipher.h"
#include "windows_dateien.h"

#include <QFile>
#include <QtEndian>

#include <mdbtools.h>

#include <map>

namespace {

constexpr int kSeite = 4096;

void put16(QByteArray& b, qsizetype at, int v) {
    qToLittleEndian<quint16>(quint16(v), b.data() + at);
}
void put32(QByteArray& b, qsizetype at, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + at);
}
quint32 get32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

QByteArray utf16(const QString& text) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

struct Spalte {
    QString name;
    int var;
    bool memo;
};

// The columns of table Haupt in the order of their values in a row.
std::vector<Spalte> spalten(const QString& pfad, quint32* tdef) {
    MdbHandle* mdb = mdb_open(QFile::encodeName(pfad).constData(), MDB_NOFLAGS);
    mdb_read_catalog(mdb, MDB_TABLE);
    MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<gchar*>("Haupt"), MDB_TABLE);
    mdb_read_columns(table);
    std::map<int, Spalte> geordnet;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        geordnet[int(col->var_col_num)] = {QString::fromUtf8(col->name), int(col->var_col_num),
                                           col->col_type == MDB_MEMO};
    }
    *tdef = quint32(table->entry->table_pg);
    mdb_free_tabledef(table);
    mdb_close(mdb);
    std::vector<Spalte> liste;
    for (auto& [_, s] : geordnet)
        liste.push_back(s);
    return liste;
}

QByteArray zeile(const std::vector<Spalte>& spalten, const QMap<QString, QString>& werte) {
    const int n = int(spalten.size());
    QByteArray row(2, '\0');
    put16(row, 0, n);
    std::vector<int> anfang;
    for (const Spalte& s : spalten) {
        anfang.push_back(int(row.size()));
        QByteArray wert = utf16(werte.value(s.name));
        if (s.memo) {
            QByteArray kopf(12, '\0');
            put32(kopf, 0, quint32(wert.size()) | 0x80000000u);
            wert.prepend(kopf);
        }
        row += wert;
    }
    const int ende = int(row.size());
    QByteArray schwanz(2 + 2 * n + 2 + (n + 7) / 8, '\0');
    put16(schwanz, 0, ende);
    for (int i = 0; i < n; ++i)
        put16(schwanz, 2 + 2 * (n - 1 - i), anfang[i]);
    put16(schwanz, 2 + 2 * n, n);
    for (int i = 0; i < n; ++i)
        schwanz[2 + 2 * n + 2 + i / 8] = char(schwanz[2 + 2 * n + 2 + i / 8] | (1 << (i % 8)));
    return row + schwanz;
}

} // namespace

void windowsDateiSchreiben(const QString& ziel, const std::vector<Eintrag>& rows) {
    const QString vorlage = windowsdateien::pfad(QStringLiteral("Clavido61.mdb"));
    quint32 tdef = 0;
    const std::vector<Spalte> liste = spalten(vorlage, &tdef);
    QFile datei(vorlage);
    datei.open(QIODevice::ReadOnly);
    QByteArray bytes = datei.readAll();

    // The usage map of the table: a row of type 1 pointing at a bitmap page.
    const quint32 zeiger = get32(bytes, qsizetype(tdef) * kSeite + 55);
    const QByteArray kartenSeite = bytes.mid(qsizetype(zeiger >> 8) * kSeite, kSeite);
    const int karte =
        qFromLittleEndian<quint16>(kartenSeite.constData() + 14 + 2 * (zeiger & 0xff)) & 0x1fff;
    const qsizetype bitmap = qsizetype(get32(kartenSeite, karte + 1)) * kSeite;
    bytes.replace(bitmap + 4, kSeite - 4, QByteArray(kSeite - 4, '\0'));

    auto seiteAnlegen = [&] {
        QByteArray seite(kSeite, '\0');
        seite[0] = 1;
        seite[1] = 1;
        put32(seite, 4, tdef);
        return seite;
    };
    QByteArray seite = seiteAnlegen();
    int anzahl = 0, frei = kSeite;
    auto abschliessen = [&] {
        put16(seite, 2, frei - 14 - 2 * anzahl);
        put16(seite, 12, anzahl);
        const qsizetype nummer = bytes.size() / kSeite;
        bytes += seite;
        bytes[bitmap + 4 + nummer / 8] = char(bytes[bitmap + 4 + nummer / 8] | (1 << (nummer % 8)));
        seite = seiteAnlegen();
        anzahl = 0;
        frei = kSeite;
    };
    for (const Eintrag& e : rows) {
        const QMap<QString, QString> werte = {
            {"Bezeichnung", e.bezeichnung},
            {"Konto-Nr", verschluesseln(e.konto, kFeldSchluessel)},
            {"Pin", verschluesseln(e.pin, kFeldSchluessel)},
            {"Zusatz", verschluesseln(e.zusatz, kFeldSchluessel)},
            {"Bezeichnung1", e.bezeichnung1},
            {"Bezeichnung2", e.bezeichnung2},
            {"Bezeichnung3", e.bezeichnung3},
            {"Bemerkungen", e.bemerkungen},
            {"Kategorie", e.kategorie},
            {"Benutzer", e.benutzer},
            {"Passwort", verschluesseln(e.passwort, kFeldSchluessel)},
            {"Sichern", e.sichern},
            {"fragen", e.fragen},
            {QStringLiteral("übernommen"), QString()}};
        const QByteArray row = zeile(liste, werte);
        if (frei - row.size() < 14 + 2 * (anzahl + 1))
            abschliessen();
        frei -= int(row.size());
        seite.replace(frei, row.size(), row);
        put16(seite, 14 + 2 * anzahl, frei);
        ++anzahl;
    }
    if (anzahl)
        abschliessen();
    put32(bytes, qsizetype(tdef) * kSeite + 16, quint32(rows.size()));

    QFile aus(ziel);
    aus.open(QIODevice::WriteOnly | QIODevice::Truncate);
    aus.write(bytes);
}
