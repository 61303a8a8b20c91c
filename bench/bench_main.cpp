// Timings of what a user waits for: opening the file, signing in, the main
// window's load, a category or entry click, saving an entry. Each runs on a
// table of 10,000 and of 100,000 rows: 100 entries in 10 categories for each
// of 100 or 1,000 users, the users' rows interleaved as years of use leave them.
// tools/bench-a11y runs the sign-in and main window timings with and without
// the accessibility bridge a screen reader talks to.
#include "editor/form_daten.h"
#include "environment.h"
#include "login/pwfrage.h"
#include "main_window/form_clavido.h"
#include "platform/limited_text_edit.h"
#include "platform/widgets.h"
#include "store/field_cipher.h"
#include "store/record_file.h"
#include "store/statements.h"

#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <map>

namespace {

QString benutzerName(int u) {
    return QStringLiteral("Benutzer %1").arg(u, 4, 10, QChar(u'0'));
}

// One prepared program folder per table size, made once per run.
struct Bestand {
    std::unique_ptr<Umgebung> env;
    int benutzer = 0;
};

std::map<int, Bestand> alle;

Bestand& bestand(int zeilen) {
    // Their windows go while the application lives, not after it at exit.
    if (alle.empty())
        qAddPostRoutine([] { alle.clear(); });
    Bestand& b = alle[zeilen];
    if (b.env)
        return b;
    b.env = std::make_unique<Umgebung>();
    b.benutzer = zeilen / 100;
    std::vector<Eintrag> rows;
    rows.reserve(zeilen);
    for (int e = 0; e < 100; ++e) {
        for (int u = 0; u < b.benutzer; ++u) {
            Eintrag row{benutzerName(u), QStringLiteral("Passwort%1").arg(u),
                        QStringLiteral("Kategorie %1").arg(e % 10),
                        QStringLiteral("Eintrag %1").arg(e)};
            row.konto = QStringLiteral("Kto-%1-%2").arg(u).arg(e);
            row.pin = QStringLiteral("%1").arg(1000 + e);
            row.zusatz = QStringLiteral("https://example.org/%1").arg(e);
            row.bemerkungen =
                QStringLiteral("Bemerkung zum Eintrag %1 des Benutzers %2").arg(e).arg(u);
            rows.push_back(row);
        }
    }
    b.env->zeilen(rows);
    return b;
}

// Signs the last user in (the one the login's walk reaches last).
Umgebung& angemeldet(int zeilen) {
    Bestand& b = bestand(zeilen);
    Umgebung& env = *b.env;
    if (!env.app->hatFormClavido() || !env.app->formClavido().isVisible()) {
        const int u = b.benutzer - 1;
        env.anmelden(benutzerName(u), QStringLiteral("Passwort%1").arg(u));
    }
    return env;
}

void oeffnen(benchmark::State& state) {
    Bestand& b = bestand(int(state.range(0)));
    for (auto _ : state) {
        db::Connection c;
        if (!recordfile::openOrCreate(c, b.env->ordner.path()).usable())
            state.SkipWithError("not opened");
    }
}

void anmeldeDialogLaden(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    pwfrage& login = env.app->formPwfrage();
    for (auto _ : state) {
        login.laden();
        state.PauseTiming();
        login.Unload();
        state.ResumeTiming();
    }
}

// From the load until the dialog is on the screen, as the user waits for it.
void anmeldeDialogZeigen(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    pwfrage& login = env.app->formPwfrage();
    for (auto _ : state) {
        login.laden();
        login.show();
        if (!QTest::qWaitForWindowExposed(&login))
            state.SkipWithError("not shown");
        state.PauseTiming();
        login.Unload();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// A screen reader reading the shown sign-in dialog through the bridge: every
// accessible object, one D-Bus call apiece (tools/a11y-review).
void anmeldeDialogDurchsicht(benchmark::State& state) {
    const QString leser = qEnvironmentVariable("CLAVIDO_A11Y_REVIEW");
    if (leser.isEmpty() || !QAccessible::isActive()) {
        state.SkipWithError("no accessibility bridge");
        return;
    }
    Umgebung& env = angemeldet(int(state.range(0)));
    pwfrage& login = env.app->formPwfrage();
    login.laden();
    login.show();
    if (!QTest::qWaitForWindowExposed(&login)) {
        state.SkipWithError("not shown");
        return;
    }
    for (auto _ : state) {
        QProcess review;
        review.start(leser);
        // The answers come from this event loop.
        QElapsedTimer dauer;
        dauer.start();
        while (review.state() != QProcess::NotRunning && dauer.elapsed() < 600000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (review.state() != QProcess::NotRunning) {
            review.kill();
            review.waitForFinished();
            state.SkipWithError("review did not end");
            break;
        }
        state.counters["objekte"] = review.readAllStandardOutput().trimmed().toDouble();
        if (review.exitCode() != 0)
            state.SkipWithError(review.readAllStandardError().constData());
    }
    login.Unload();
}

// A list of as many items as rows, as the sign-in dialog's hidden user list:
// the box's own addItems (0) against setItems (1).
void listeFuellen(benchmark::State& state) {
    QStringList namen;
    for (int i = 0; i < state.range(0); ++i)
        namen << benutzerName(i % 1000);
    QWidget fenster;
    auto* liste = new QComboBox(&fenster);
    fenster.show();
    for (auto _ : state) {
        if (state.range(1) == 0) {
            liste->clear();
            liste->addItems(namen);
        } else {
            widgets::setItems(liste, namen);
        }
        QApplication::processEvents();
    }
}

void anmeldungLetzterBenutzer(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    pwfrage& login = env.app->formPwfrage();
    login.versuch = 0;
    const int u = int(state.range(0)) / 100 - 1;
    for (auto _ : state) {
        state.PauseTiming();
        login.laden();
        login.Combo1->setEditText(benutzerName(u));
        login.Textpwfrage->setText(QStringLiteral("Passwort%1").arg(u));
        state.ResumeTiming();
        login.Command3_Click();
    }
}

void hauptfensterLaden(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    FormClavido& f = env.app->formClavido();
    for (auto _ : state)
        f.fensterFuellen();
}

void kategorieKlick(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    FormClavido& f = env.app->formClavido();
    int i = 0;
    for (auto _ : state) {
        f.Combo2->setCurrentIndex(i++ % f.Combo2->count());
        f.Combo2_Click();
    }
}

void eintragKlick(benchmark::State& state) {
    Umgebung& env = angemeldet(int(state.range(0)));
    FormClavido& f = env.app->formClavido();
    int i = 0;
    for (auto _ : state) {
        f.Combo1->setCurrentIndex(i++ % f.Combo1->count());
        f.Combo1_Click();
    }
}

// From the click on save until the main window is rebuilt.
void speichern(benchmark::State& state, bool neu) {
    Umgebung& env = angemeldet(int(state.range(0)));
    FormClavido& f = env.app->formClavido();
    static int nummer = 0;
    env.app->sitzung.optFragen = QStringLiteral("0");
    if (!neu) {
        f.Check1->setChecked(true);
        for (QLineEdit* box : {f.Text5, f.Text4, f.Text9})
            widgets::setPasswordChar(box, QChar());
        f.eintragAnzeigen(false);
    }
    for (auto _ : state) {
        state.PauseTiming();
        bool gespeichert = false;
        env.modal.erwarte<FormDaten>([&](FormDaten& d) {
            if (neu) {
                d.Combo1->setEditText(QStringLiteral("Kategorie 3"));
                d.Text1->setText(QStringLiteral("Neu %1").arg(++nummer));
                d.Text2->setText(QStringLiteral("1234"));
                d.Text3->setText(QStringLiteral("5678"));
                d.Text8->setText(QStringLiteral("https://example.org"));
                d.Text14->setPlainText(QStringLiteral("neu"));
            } else {
                d.Text3->setText(QString::number(++nummer));
            }
            state.ResumeTiming();
            d.Command2_Click();
            state.PauseTiming();
            gespeichert = !d.isVisible();
            if (!gespeichert)
                d.Command1_Click();
        });
        if (neu)
            f.menu_neu_Click();
        else
            f.menu_edit_Click();
        if (!gespeichert) {
            qWarning() << "not saved:" << env.meldungen.texte() << env.modal.ungeplant;
            state.SkipWithError("not saved");
            break;
        }
        state.ResumeTiming();
    }
}

void neuSpeichern(benchmark::State& state) {
    speichern(state, true);
}
void aenderungSpeichern(benchmark::State& state) {
    speichern(state, false);
}

} // namespace

BENCHMARK(oeffnen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(anmeldeDialogLaden)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(anmeldeDialogZeigen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(anmeldeDialogDurchsicht)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(listeFuellen)
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->ArgNames({"", "setItems"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(anmeldungLetzterBenutzer)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(hauptfensterLaden)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(kategorieKlick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(eintragKlick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(neuSpeichern)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(aenderungSpeichern)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

int main(int argc, char* argv[]) {
    // tools/bench-a11y chooses the real window system; by default none is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication application(argc, argv);
    // The bridge connects to the accessibility bus asynchronously, after start.
    const bool bridgeVerlangt = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    QElapsedTimer warten;
    warten.start();
    while (bridgeVerlangt && !QAccessible::isActive() && warten.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (bridgeVerlangt && !QAccessible::isActive()) {
        fprintf(stderr, "clavido_bench: the accessibility bridge did not come up\n");
        return 1;
    }
    benchmark::AddCustomContext("platform", QGuiApplication::platformName().toStdString());
    benchmark::AddCustomContext("accessibility bridge", QAccessible::isActive() ? "active" : "off");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
