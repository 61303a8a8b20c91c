#include "environment.h"
#include "platform/button_keys.h"
#include "platform/folder_chooser.h"
#include "platform/help.h"
#include "platform/message_box.h"

#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeView>

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installButtonKeys(); }
    void messageBoxShowsTheTextAsGiven_data();
    void messageBoxShowsTheTextAsGiven();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void helpFromAModalDialogTakesInput();
    void theTreeShowsTheOpenedFolder();
    void theDriveListShowsWhereFilesAreKept_data();
    void theDriveListShowsWhereFilesAreKept();
};

void TestDialogs::messageBoxShowsTheTextAsGiven_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("knoepfe");
    QTest::addColumn<int>("antwort");
    QTest::addColumn<QString>("zeile");
    // The lines stand as given, none wrapped again.
    const QString lang = QStringLiteral("Wenn Sie das Programm schon einmal benutzt haben, können "
                                        "Sie sich hier mit Ihrem    ");
    QTest::newRow("ok") << int(msg::Exclamation) << QStringList{"OK"} << int(msg::Ok) << lang;
    QTest::newRow("yes first") << int(msg::Question | msg::YesNo) << QStringList{"Ja", "Nein"}
                               << int(msg::Yes) << lang;
    QTest::newRow("no first") << int(msg::Critical | msg::YesNo | msg::DefaultButton2)
                              << QStringList{"Ja", "Nein"} << int(msg::No) << lang;
    // Wrapped within the screen, not cut off at its edge.
    QTest::newRow("a line wider than the screen")
        << int(msg::Exclamation) << QStringList{"OK"} << int(msg::Ok)
        << QStringLiteral("Fehler 70: ") +
               QStringLiteral("Die Datenbankdatei ist geöffnet. ").repeated(8);
}

void TestDialogs::messageBoxShowsTheTextAsGiven() {
    QFETCH(int, style);
    QFETCH(QStringList, knoepfe);
    QFETCH(int, antwort);
    QFETCH(QString, zeile);
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QStringList gezeigt;
    bool ganzeZeilen = false;
    bool ganzSichtbar = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        ganzeZeilen = label->width() >= label->fontMetrics().horizontalAdvance(zeile);
        ganzSichtbar = box->frameGeometry().width() <= box->screen()->availableGeometry().width() &&
                       box->rect().contains(label->geometry()) &&
                       label->height() >= label->heightForWidth(label->width());
        text = box->text();
        format = box->textFormat();
        for (QAbstractButton* b : box->buttons())
            gezeigt << b->text();
        // Enter takes the default button.
        QTest::keyClick(box, Qt::Key_Return);
    });
    QtMessageBox messages;
    const int ergebnis = messages.show("<b>Konto</b>\r\n" + zeile, style, "lumoClavido 6.1");
    QCOMPARE(text, "<b>Konto</b>\n" + zeile);
    QVERIFY(ganzSichtbar);
    QCOMPARE(ganzeZeilen, zeile.size() < 100);
    QCOMPARE(format, Qt::PlainText);
    gezeigt.sort();
    knoepfe.sort();
    QCOMPARE(gezeigt, knoepfe);
    QCOMPARE(ergebnis, antwort);
}

void TestDialogs::keysPressTheFocusedButton_data() {
    QTest::addColumn<QString>("fokus");
    QTest::addColumn<int>("taste");
    QTest::addColumn<QString>("gedrueckt");
    QTest::newRow("enter on a button") << "knopf" << int(Qt::Key_Return) << "knopf";
    QTest::newRow("keypad enter") << "knopf" << int(Qt::Key_Enter) << "knopf";
    QTest::newRow("space on a button") << "knopf" << int(Qt::Key_Space) << "knopf";
    QTest::newRow("enter on a picture button") << "bild" << int(Qt::Key_Return) << "bild";
    QTest::newRow("space on a picture button") << "bild" << int(Qt::Key_Space) << "bild";
    QTest::newRow("enter in a box") << "box" << int(Qt::Key_Return) << "ok";
}

void TestDialogs::keysPressTheFocusedButton() {
    QFETCH(QString, fokus);
    QFETCH(int, taste);
    QFETCH(QString, gedrueckt);
    QDialog dialog;
    auto* layout = new QHBoxLayout(&dialog);
    auto* box = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* knopf = new QPushButton(QStringLiteral("Hilfe"), &dialog);
    auto* bild = new QToolButton(&dialog);
    ok->setDefault(true);
    knopf->setAutoDefault(false);
    bild->setFocusPolicy(Qt::StrongFocus);
    QStringList geklickt;
    for (auto [name, b] :
         {std::pair<QString, QAbstractButton*>{"ok", ok}, {"knopf", knopf}, {"bild", bild}}) {
        layout->addWidget(b);
        connect(b, &QAbstractButton::clicked, [&geklickt, name = name] { geklickt << name; });
    }
    layout->addWidget(box);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* ziel = fokus == "box"    ? static_cast<QWidget*>(box)
                    : fokus == "bild" ? static_cast<QWidget*>(bild)
                                      : knopf;
    ziel->setFocus();
    QTest::keyClick(ziel, Qt::Key(taste));
    QCOMPARE(geklickt, QStringList{gedrueckt});
}

void TestDialogs::helpFromAModalDialogTakesInput() {
    QtHelp hilfe;
    QDialog dialog;
    QWidget* aktiv = nullptr;
    QWidget* besitzer = nullptr;
    QTimer::singleShot(50, [&] {
        hilfe.showContents(&dialog);
        QTest::qWait(50);
        aktiv = QApplication::activeWindow();
        besitzer = hilfe.window()->parentWidget();
        dialog.reject();
    });
    dialog.exec();
    QVERIFY(hilfe.window());
    QCOMPARE(aktiv, hilfe.window());
    QCOMPARE(besitzer, &dialog);
    // Where the file is, and what a damaged one brings, as the program does it.
    const QString hilfeText = hilfe.window()->findChild<QTextBrowser*>()->toPlainText();
    QVERIFY(hilfeText.contains(QStringLiteral("~/.local/share/lumoClavido/")));
    QVERIFY(!hilfeText.contains(QStringLiteral("immer im Programmordner")));
    QVERIFY(hilfeText.contains(QStringLiteral("Möchten Sie eine gesicherte Datenbank wieder "
                                              "herstellen?")));
    // Opened again without a modal dialog, it is a window of its own.
    hilfe.showContents(nullptr);
    QVERIFY(hilfe.window()->isVisible());
    QCOMPARE(hilfe.window()->parentWidget(), nullptr);
    hilfe.close();
    QVERIFY(!hilfe.window()->isVisible());
}

void TestDialogs::theDriveListShowsWhereFilesAreKept_data() {
    QTest::addColumn<QString>("ort");
    QTest::addColumn<QString>("typ");
    QTest::addColumn<QString>("geraet");
    QTest::addColumn<bool>("gezeigt");
    const QList<std::tuple<const char*, const char*, const char*, bool>> zeilen = {
        {"/", "ext4", "/dev/sda2", true},
        {"/", "overlay", "overlay", true},
        {"/home", "btrfs", "/dev/sda3", true},
        {"/home/anna/ramdisk", "tmpfs", "tmpfs", true},
        {"/media/anna/USB-STICK", "vfat", "/dev/sdb1", true},
        {"/run/media/anna/Fotos", "exfat", "/dev/sdc1", true},
        {"/mnt/nas", "cifs", "//nas/daten", true},
        {"/srv/archiv", "ext4", "/dev/sdd1", true},
        {"/srv/tank", "zfs", "tank/archiv", true},
        {"/srv/nfs", "nfs4", "server:/export", true},
        {"/proc", "proc", "proc", false},
        {"/sys/fs/cgroup", "cgroup2", "cgroup2", false},
        {"/dev", "devtmpfs", "udev", false},
        {"/dev/shm", "tmpfs", "tmpfs", false},
        {"/run", "tmpfs", "tmpfs", false},
        {"/run/user/1000", "tmpfs", "tmpfs", false},
        {"/run/user/1000/doc", "fuse.portal", "portal", false},
        {"/run/media/bert/Stick", "vfat", "/dev/sde1", false},
        {"/tmp", "tmpfs", "tmpfs", false},
        {"/boot/efi", "vfat", "/dev/sda1", false},
        {"/etc/hosts", "ext4", "/dev/vda", false},
        {"/snap/core22/1380", "squashfs", "/dev/loop3", false},
        {"/var/lib/docker/overlay2/4f1e/merged", "overlay", "overlay", false},
        {"/mnt/sandboxing/werkzeuge", "tmpfs", "werkzeuge", false},
    };
    for (const auto& [ort, typ, geraet, gezeigt] : zeilen)
        QTest::addRow("%s %s", ort, typ) << QString::fromUtf8(ort) << QString::fromUtf8(typ)
                                         << QString::fromUtf8(geraet) << gezeigt;
}

void TestDialogs::theDriveListShowsWhereFilesAreKept() {
    QFETCH(QString, ort);
    QFETCH(QString, typ);
    QFETCH(QString, geraet);
    QFETCH(bool, gezeigt);
    QCOMPARE(FolderChooser::listsVolume(ort, typ, geraet, QStringLiteral("anna"),
                                        QStringLiteral("/home/anna")),
             gezeigt);
}

CLAVIDO_TEST_MAIN(TestDialogs)
// The folder opened (typed, or at the dialog's start) stands in view in the
// tree, its parents expanded, once the tree has read them.
void TestDialogs::theTreeShowsTheOpenedFolder() {
    QTemporaryDir tief;
    const QString ordner = tief.filePath(QStringLiteral("a/b/c/d"));
    QVERIFY(QDir().mkpath(ordner));
    QDialog d;
    auto* w = new FolderChooser(&d);
    (new QHBoxLayout(&d))->addWidget(w);
    d.resize(460, 420);
    QVERIFY(w->openFolder(QDir::homePath()));
    QVERIFY(w->openFolder(ordner));
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTreeView* baum = w->tree();
    auto* modell = qobject_cast<QFileSystemModel*>(baum->model());
    QTRY_COMPARE(modell->filePath(baum->currentIndex()), QFileInfo(ordner).canonicalFilePath());
    // The model sorts what it has read a moment later.
    QTest::qWait(500);
    QVERIFY(baum->viewport()->rect().contains(baum->visualRect(baum->currentIndex())));
}

#include "test_dialogs.moc"
