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

CLAVIDO_TEST_MAIN(TestInfo)
#include "test_info.moc"
