// Building the printed list for the last user of a table of 10,000 or 100,000
// rows (100 entries in 10 categories per user, the users' rows interleaved),
// from the rows as the main window's data view holds them.
#include "maintenance/druckliste.h"
#include "store/field_cipher.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

std::shared_ptr<db::Snapshot> tabelle(int zeilen) {
    auto snapshot = std::make_shared<db::Snapshot>();
    snapshot->table = QStringLiteral("Haupt");
    snapshot->columns = {"Bezeichnung",  "Konto-Nr",     "Pin",         "Zusatz",    "Bezeichnung1",
                         "Bezeichnung2", "Bezeichnung3", "Bemerkungen", "Kategorie", "Benutzer",
                         "Passwort",     "Sichern",      "fragen",      "übernommen"};
    const int benutzer = zeilen / 100;
    qint64 rowid = 0;
    for (int e = 0; e < 100; ++e) {
        for (int u = 0; u < benutzer; ++u) {
            snapshot->rows.push_back(
                {++rowid,
                 {QStringLiteral("Eintrag %1").arg(e),
                  verschluesseln(QStringLiteral("Kto-%1-%2").arg(u).arg(e), kFeldSchluessel),
                  verschluesseln(QString::number(1000 + e), kFeldSchluessel),
                  verschluesseln(QStringLiteral("https://example.org/%1").arg(e), kFeldSchluessel),
                  "Konto-Nr / User-ID", "PIN / Kennwort", "URL",
                  QStringLiteral("Bemerkung zum Eintrag %1 des Benutzers %2").arg(e).arg(u),
                  QStringLiteral("Kategorie %1").arg(e % 10),
                  QStringLiteral("Benutzer %1").arg(u, 4, 10, QChar(u'0')),
                  verschluesseln(QStringLiteral("Passwort%1").arg(u), kFeldSchluessel), "1", "1",
                  ""}});
        }
    }
    return snapshot;
}

void listeDrucken(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    db::Recordset rs(nullptr, tabelle(zeilen));
    const QString benutzer =
        QStringLiteral("Benutzer %1").arg(zeilen / 100 - 1, 4, 10, QChar(u'0'));
    QStringList kategorien;
    for (int k = 0; k < 10; ++k)
        kategorien << QStringLiteral("Kategorie %1").arg(k);
    for (auto _ : state) {
        const QString text =
            druckliste::dokument(kategorien, benutzer, QStringLiteral("08.12.26"), rs);
        benchmark::DoNotOptimize(text.size());
    }
}

} // namespace

BENCHMARK(listeDrucken)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
