#include "app/form_gruss.h"

#include "app/clavido.h"
#include "app/pictures.h"
#include "main_window/form_clavido.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

FormGruss::FormGruss(Clavido& app)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    , app(app) {
    setWindowTitle(Clavido::titel());
    setObjectName(QStringLiteral("FormGruss"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#FormGruss { background: #f4f1e6; border: 2px solid #28345a; }"));

    Image1 = new QLabel(this);
    Image1->setPixmap(bildPixmap(Bild::Schloss, 96));
    Label1 = new QLabel(QStringLiteral("lumoClavido"), this);
    QFont gross(QStringLiteral("Arial Black"), 30);
    gross.setWeight(QFont::Black);
    Label1->setFont(gross);
    Label1->setStyleSheet(QStringLiteral("color: #28345a;"));
    Label2 = new QLabel(
        QStringLiteral("%1.%2 ").arg(CLAVIDO_VERSION_MAJOR).arg(CLAVIDO_VERSION_MINOR), this);
    QFont version(QStringLiteral("Arial"), 16);
    version.setBold(true);
    Label2->setFont(version);
    Label2->setStyleSheet(QStringLiteral("color: #8a6d10;"));
    Label3 = new QLabel(
        QStringLiteral("Bitte haben Sie etwas Geduld, das Programm wird geladen..."), this);
    Label3->setFont(QFont(QStringLiteral("Arial"), 10));

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(Image1);
    kopf->addSpacing(16);
    auto* namen = new QVBoxLayout;
    namen->addStretch();
    namen->addWidget(Label1);
    namen->addWidget(Label2, 0, Qt::AlignRight);
    namen->addStretch();
    kopf->addLayout(namen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->addLayout(kopf);
    layout->addSpacing(18);
    layout->addWidget(Label3, 0, Qt::AlignCenter);
    setFixedSize(sizeHint().expandedTo(QSize(480, 240)));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(2500);
    connect(Timer1, &QTimer::timeout, this, &FormGruss::Timer1_Timer);
    Timer1->start();
}

void FormGruss::Timer1_Timer() {
    // Stop first: the main window's load runs modal dialogs from here.
    Timer1->stop();
    hide();
    app.formGrussFreigeben();
    app.formClavido().laden();
}
