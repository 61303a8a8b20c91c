// The main window's own commands, each from the click until the window is
// rebuilt: the password check that unmasks, deleting an entry, a first search
// and a "Weiter suchen" over the whole table, and a rename of a user with
// 10,000 rows (one transaction) in a table of 100,000; and the backup copy of
// the whole file with its check.
#include "editor/form_suchen.h"
#include "environment.h"
#include "login/pwform.h"
#include "main_window/form_clavido.h"
#include "store/sicherung.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <map>

namespace {

// `benutzer` users with `zeilen / benutzer` entries each, their rows interleaved;
// the last user is signed in.
Umgebung& tabelle(int zeilen, int benutzer) {
    static std::map<std::pair<int, int>, std::unique_ptr<Umgebung>> alle;
    // Their windows go while the application lives, not after it at exit.
    if (alle.empty())
        qAddPostRoutine([] { alle.clear(); });
    auto& env = alle[{zeilen, benutzer}];
    if (env)
        return *env;
    env = std::make_unique<Umgebung>();
    std::vector<Eintrag> rows;
    rows.reserve(zeilen);
    for (int e = 0; e < zeilen / benutzer; ++e) {
        for (int u = 0; u < benutzer; ++u)
            rows.push_back({QStringLiteral("Benutzer %1").arg(u), QStringLiteral("pw%1").arg(u),
                            QStringLiteral("Kategorie %1").arg(e % 10),
                            QStringLiteral("Eintrag %1").arg(e)});
    }
    env->zeilen(rows);
    env->anmelden(QStringLiteral("Benutzer %1").arg(benutzer - 1),
                  QStringLiteral("pw%1").arg(benutzer - 1));
    env->app->sitzung.optFragen = QStringLiteral("0");
    return *env;
}

void passwortPruefen(benchmark::State& state) {
    FormClavido& f = tabelle(int(state.range(0)), 100).app->formClavido();
    for (auto _ : state) {
        state.PauseTiming();
        f.Check1->setChecked(true);
        f.Check1_Click();
        f.Text7->setText(QStringLiteral("pw99"));
        state.ResumeTiming();
        f.Command9_Click();
        state.PauseTiming();
        f.Check1->setChecked(false);
        f.Check1_Click();
        state.ResumeTiming();
    }
}

void loeschen(benchmark::State& state) {
    Umgebung& env = tabelle(int(state.range(0)), 100);
    FormClavido& f = env.app->formClavido();
    int nummer = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh entry of the signed-in user to delete, written by the program itself.
        db::Recordset& rs = f.Daten1.Recordset();
        rs.AddNew();
        rs.Fields(QStringLiteral("Bezeichnung")).SetValue(QStringLiteral("Weg %1").arg(++nummer));
        rs.Fields(QStringLiteral("Benutzer")).SetValue(QStringLiteral("Benutzer 99"));
        rs.Fields(QStringLiteral("Kategorie")).SetValue(QStringLiteral("Kategorie 0"));
        rs.Update();
        f.kategorieWaehlen(QStringLiteral("Kategorie 0"));
        f.eintragWaehlen(QStringLiteral("Weg %1").arg(nummer));
        env.meldungen.antworte({msg::Yes});
        state.ResumeTiming();
        f.menu_loeschen_Click();
    }
}

// A term only the table's last row holds: both searches walk all of it.
void suchen(benchmark::State& state, bool weiter) {
    Umgebung& env = tabelle(int(state.range(0)), 100);
    FormSuchen& d = env.app->formSuchen();
    d.laden();
    db::Recordset& rs = env.app->formClavido().Daten1.Recordset();
    for (auto _ : state) {
        state.PauseTiming();
        d.Text1->setText(QStringLiteral("eintrag %1").arg(state.range(0) / 100 - 1));
        rs.MoveFirst();
        state.ResumeTiming();
        if (weiter)
            d.Command2_Click();
        else
            d.Command1_Click();
    }
    d.Unload();
}

void ersteSuche(benchmark::State& state) {
    suchen(state, false);
}
void weiterSuchen(benchmark::State& state) {
    suchen(state, true);
}

void umbenennen(benchmark::State& state) {
    Umgebung& env = tabelle(100000, 10);
    pwform& d = env.app->formPwform();
    bool zurueck = false;
    for (auto _ : state) {
        state.PauseTiming();
        d.laden();
        zurueck = !zurueck;
        d.Text3->setText(zurueck ? QStringLiteral("Benutzer neu") : QStringLiteral("Benutzer 9"));
        d.Text1->setText(QStringLiteral("pw9"));
        d.Text2->setText(QStringLiteral("pw9"));
        env.meldungen.meldungen.clear();
        state.ResumeTiming();
        d.Command3_Click();
        state.PauseTiming();
        if (env.meldungen.texte().value(0) !=
            QStringLiteral("Benutzername und  Passwort wurden gespeichert!")) {
            state.SkipWithError("not saved");
            break;
        }
        state.ResumeTiming();
    }
}

void sicherungKopieren(benchmark::State& state) {
    Umgebung& env = tabelle(int(state.range(0)), 100);
    QTemporaryDir ziel;
    for (auto _ : state) {
        if (sicherung::kopieren(env.dbPfad(), ziel.filePath(QStringLiteral("Clavido61.mdb")))) {
            state.SkipWithError("no copy");
            break;
        }
    }
}

} // namespace

BENCHMARK(passwortPruefen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(loeschen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ersteSuche)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(weiterSuchen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(umbenennen)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(sicherungKopieren)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
