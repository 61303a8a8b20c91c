#include "environment.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_info.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void clicksCloseButLinksOpen_data();
    void clicksCloseButLinksOpen();
    void saysWhereTheFileIs_data();
    void saysWhereTheFileIs();
};

void TestInfo::clicksCloseButLinksOpen_data() {
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("geoeffnet");
    QTest::newRow("mail link") << "Hyperlink1"
                               << "mailto:kontakt@lumoclavido.example.org";
    QTest::newRow("web link") << "Hyperlink2"
                              << "https://lumoclavido.example.org";
    QTest::newRow("eMail:") << "Label5"
                            << "";
    QTest::newRow("Internet:") << "Label6"
                               << "";
    QTest::newRow("picture") << "Image2"
                             << "";
    QTest::newRow("background") << "Shape1"
                                << "";
}

void TestInfo::clicksCloseButLinksOpen() {
    QFETCH(QString, ziel);
    QFETCH(QString, geoeffnet);
    Umgebung env;
    env.zeilen({{"anna", "pw", "K", "a"}});
    env.anmelden("anna", "pw");
    QString release, produkt, datei;
    bool offen = false;
    env.modal.erwarte<FormInfo>([&](FormInfo& d) {
        release = d.Label1->text();
        produkt = d.Label8->text();
        datei = d.Label3->text();
        QHash<QString, QWidget*> teile = {
            {"Hyperlink1", d.Hyperlink1}, {"Hyperlink2", d.Hyperlink2}, {"Label5", d.Label5},
            {"Label6", d.Label6},         {"Image2", d.Image2},         {"Shape1", d.Shape1}};
        if (ziel.startsWith("Hyperlink")) {
            auto* link = static_cast<QLabel*>(teile[ziel]);
            const QString text = link->text();
            link->linkActivated(text.section(u'"', 1, 1));
        } else {
            QTest::mouseClick(teile[ziel], Qt::LeftButton, {}, QPoint(2, 2));
        }
        offen = d.isVisible();
        if (offen)
            d.Unload();
    });
    env.app->formClavido().Command7->click();
    QCOMPARE(release, QStringLiteral("Release 6.1.0-3"));
    QCOMPARE(produkt, QStringLiteral("lumoClavido"));
    // The test's data folder is not the program's: the user's own folder.
    QCOMPARE(datei, "Datenbankdatei: " + env.dbPfad() + "\n(in Ihrem persönlichen Datenordner)");
    QCOMPARE(env.prozesse.geoeffnet, geoeffnet.isEmpty() ? QStringList{} : QStringList{geoeffnet});
    QCOMPARE(offen, !geoeffnet.isEmpty());
}

void TestInfo::saysWhereTheFileIs_data() {
    QTest::addColumn<int>("aufstellung");
    QTest::addColumn<bool>("imProgrammordner");
    QTest::addColumn<int>("grund");
    QTest::addColumn<QString>("ort");
    const QString statt = " statt in Ihrem persönlichen Datenordner, da ";
    const QString installiert = "im Programmordner des installierten lumoClavido" + statt;
    QTest::newRow("portable") << int(Aufstellung::Tragbar) << true << int(Abweichung::Keine)
                              << "im Programmordner, da dieses lumoClavido eine tragbare Kopie ist";
    QTest::newRow("portable, its folder read-only")
        << int(Aufstellung::Tragbar) << false << int(Abweichung::Schreibgeschuetzt)
        << "in Ihrem persönlichen Datenordner, da in den Programmordner dieser tragbaren Kopie "
           "nicht geschrieben werden kann";
    QTest::newRow("installed, a link beside")
        << int(Aufstellung::Installiert) << true << int(Abweichung::Verknuepfung)
        << installiert + "sie dort als Verknüpfung angelegt ist";
    QTest::newRow("built, not moved")
        << int(Aufstellung::Bauordner) << true << int(Abweichung::NichtVerschoben)
        << "im Programmordner des selbst übersetzten lumoClavido" + statt +
               "sie nicht dorthin verschoben werden konnte";
}

// Decided by how the program is set up, not by where the file happens to lie.
void TestInfo::saysWhereTheFileIs() {
    QFETCH(int, aufstellung);
    QFETCH(bool, imProgrammordner);
    QFETCH(int, grund);
    QFETCH(QString, ort);
    Umgebung env;
    env.app->ablage = {Aufstellung(aufstellung), env.ordner.path(), imProgrammordner,
                       Abweichung(grund)};
    env.app->formInfo().laden();
    QCOMPARE(env.app->formInfo().Label3->text().section(u'\n', 1), "(" + ort + ")");
}

CLAVIDO_TEST_MAIN(TestInfo)
#include "test_info.moc"
