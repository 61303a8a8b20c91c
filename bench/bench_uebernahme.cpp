// Taking over an old file of 10,000 or 100,000 rows into a table of as many
// (100 entries in 10 categories per user, the users' rows interleaved), with
// the key derivation of both files: the current one opened, then "Starten..."
// until the dialog has closed. The old designations all exist already, so
// every one gets the suffix. The old file is one of the program's own or an
// Access file of the Windows versions.
//
// And the first start on the Windows version's Access file of 10,000 rows:
// from the start of opening the database to the new file open, with the
// question answered Yes at once.
#include "environment.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_uebernahme.h"
#include "platform/folder_chooser.h"
#include "store/record_file.h"
#include "windows_datei.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QListWidget>

#include <map>
#include <optional>

namespace {

std::vector<Eintrag> tabelle(int zeilen, const QString& vorsilbe) {
    const int benutzer = zeilen / 100;
    std::vector<Eintrag> rows;
    rows.reserve(zeilen);
    for (int e = 0; e < 100; ++e) {
        for (int u = 0; u < benutzer; ++u) {
            Eintrag row{vorsilbe + QStringLiteral("Benutzer %1").arg(u, 4, 10, QChar(u'0')),
                        QStringLiteral("Passwort%1").arg(u),
                        QStringLiteral("Kategorie %1").arg(e % 10),
                        QStringLiteral("Eintrag %1").arg(e)};
            row.konto = QStringLiteral("Kto-%1-%2").arg(u).arg(e);
            row.pin = QString::number(1000 + e);
            row.zusatz = QStringLiteral("https://example.org/%1").arg(e);
            row.bemerkungen =
                QStringLiteral("Bemerkung zum Eintrag %1 des Benutzers %2").arg(e).arg(u);
            rows.push_back(row);
        }
    }
    return rows;
}

// The current table and the old file of one size and format, made once per run.
struct Dateien {
    QTemporaryDir ordner;
    QString aktuell() const { return ordner.filePath(QStringLiteral("aktuell.mdb")); }
    QString alt() const { return ordner.filePath(QStringLiteral("Clavido6.mdb")); }
};

std::map<std::pair<int, bool>, std::unique_ptr<Dateien>> alle;

const Dateien& dateien(int zeilen, bool access) {
    auto& d = alle[{zeilen, access}];
    if (!d) {
        d = std::make_unique<Dateien>();
        rawdb::schreibe(d->aktuell(), tabelle(zeilen, QString()));
        if (access)
            windowsDateiSchreiben(d->alt(), tabelle(zeilen, QStringLiteral("Alt-")));
        else
            rawdb::schreibe(d->alt(), tabelle(zeilen, QStringLiteral("Alt-")));
    }
    return *d;
}

void datenuebernahme(benchmark::State& state, bool access) {
    const int zeilen = int(state.range(0));
    const Dateien& d = dateien(zeilen, access);
    const QString letzter = QStringLiteral("Benutzer %1").arg(zeilen / 100 - 1, 4, 10, QChar(u'0'));
    std::optional<Umgebung> env;
    for (auto _ : state) {
        state.PauseTiming();
        env.reset();
        env.emplace();
        QFile::copy(d.aktuell(), env->dbPfad());
        state.ResumeTiming();
        env->app->datenbankOeffnen();
        state.PauseTiming();
        env->anmelden(letzter, QStringLiteral("Passwort%1").arg(zeilen / 100 - 1));
        env->app->sitzung.optFragen = QStringLiteral("0");
        FormÜbernahme& form = env->app->formUebernahme();
        form.laden();
        form.Ordner->openFolder(d.ordner.path());
        form.File1->item(0)->setSelected(true);
        state.ResumeTiming();
        form.Command2_Click();
        state.PauseTiming();
        const int ergebnis = env->app->formClavido().Daten1.Recordset().RecordCount();
        state.ResumeTiming();
        if (ergebnis != 2 * zeilen) {
            state.SkipWithError(qPrintable(env->meldungen.texte().join(u'|')));
            break;
        }
    }
    env.reset();
}

void ersterStartWindows(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    QTemporaryDir vorlage;
    const QString windows = vorlage.filePath(recordfile::kDateiName);
    windowsDateiSchreiben(windows, tabelle(zeilen, QString()));
    std::optional<Umgebung> env;
    for (auto _ : state) {
        state.PauseTiming();
        env.reset();
        env.emplace();
        QFile::copy(windows, env->dbPfad());
        env->meldungen.antworte({msg::Yes});
        state.ResumeTiming();
        const bool offen = env->app->datenbankOeffnen();
        state.PauseTiming();
        QString anzahl;
        env->app->verbindung.queryColumn(QStringLiteral("SELECT count(*) FROM Haupt"),
                                         [&](const QString& n) { anzahl = n; });
        state.ResumeTiming();
        if (!offen || anzahl.toInt() != zeilen) {
            state.SkipWithError(qPrintable(env->meldungen.texte().join(u'|')));
            break;
        }
    }
    env.reset();
}

} // namespace

BENCHMARK_CAPTURE(datenuebernahme, sqlcipher, false)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(datenuebernahme, access, true)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(ersterStartWindows)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
