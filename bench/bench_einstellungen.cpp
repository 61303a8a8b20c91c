// Saving the settings writes both values into every row of the table, the
// rows of all users: timed from the click on " Einstellung speichern " until
// the dialog is closed, on 10,000 and 100,000 rows (100 entries for each of
// 100 or 1,000 users, the users' rows interleaved).
#include "environment.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_einstellungen.h"

#include <benchmark/benchmark.h>

#include <QRadioButton>

namespace {

std::unique_ptr<Umgebung> tabelle(int zeilen) {
    auto env = std::make_unique<Umgebung>();
    const int benutzer = zeilen / 100;
    std::vector<Eintrag> rows;
    rows.reserve(zeilen);
    for (int e = 0; e < 100; ++e) {
        for (int u = 0; u < benutzer; ++u) {
            rows.push_back(
                {QStringLiteral("Benutzer %1").arg(u), QStringLiteral("Passwort%1").arg(u),
                 QStringLiteral("Kategorie %1").arg(e % 10), QStringLiteral("Eintrag %1").arg(e)});
        }
    }
    env->zeilen(rows);
    env->anmelden(QStringLiteral("Benutzer 0"), QStringLiteral("Passwort0"));
    return env;
}

void einstellungenSpeichern(benchmark::State& state) {
    std::unique_ptr<Umgebung> env = tabelle(int(state.range(0)));
    FormEinstellungen& d = env->app->formEinstellungen();
    bool an = false;
    for (auto _ : state) {
        state.PauseTiming();
        env->meldungen.meldungen.clear();
        d.laden();
        // Each round turns both settings over, so that every row really changes.
        an = !an;
        (an ? d.Option1 : d.Option2)->setChecked(true);
        (an ? d.Option3 : d.Option4)->setChecked(true);
        state.ResumeTiming();
        d.Command2_Click();
        state.PauseTiming();
        if (env->meldungen.texte() !=
            QStringList{QStringLiteral("Ihre Einstellungen wurden gesichert!")}) {
            state.SkipWithError("not saved");
            break;
        }
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(einstellungenSpeichern)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
