#include "maintenance/form_info.h"

#include "app/clavido.h"
#include "app/pictures.h"
#include "store/record_file.h"

#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kMail = QStringLiteral("kontakt@lumoclavido.example.org");
const QString kWeb = QStringLiteral("https://lumoclavido.example.org");

QLabel* link(const QString& ziel, const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(ziel.toHtmlEscaped(), text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    label->setAccessibleName(text);
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

QFrame* linie(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Where the file is, and why there when the program's setup would put it elsewhere.
QString ort(const Ablage& ablage) {
    if (ablage.aufstellung == Aufstellung::Tragbar && ablage.imProgrammordner)
        return QStringLiteral("im Programmordner, da dieses lumoClavido eine tragbare Kopie ist");
    if (!ablage.imProgrammordner)
        return ablage.grund == Abweichung::Schreibgeschuetzt
                   ? QStringLiteral("in Ihrem persönlichen Datenordner, da in den Programmordner "
                                    "dieser tragbaren Kopie nicht geschrieben werden kann")
                   : QStringLiteral("in Ihrem persönlichen Datenordner");
    QString text = ablage.aufstellung == Aufstellung::Installiert
                       ? QStringLiteral("im Programmordner des installierten lumoClavido")
                       : QStringLiteral("im Programmordner des selbst übersetzten lumoClavido");
    text += QStringLiteral(" statt in Ihrem persönlichen Datenordner");
    switch (ablage.grund) {
    case Abweichung::Verknuepfung:
        return text + QStringLiteral(", da sie dort als Verknüpfung angelegt ist");
    case Abweichung::Journal:
        return text + QStringLiteral(", da neben ihr ein unterbrochener Schreibvorgang "
                                     "abzuschließen war");
    case Abweichung::NichtVerschoben:
        return text + QStringLiteral(", da sie nicht dorthin verschoben werden konnte");
    default:
        return text;
    }
}

} // namespace

QString FormInfo::releaseText() {
    return QStringLiteral("Release %1.%2.%3-3")
        .arg(CLAVIDO_VERSION_MAJOR)
        .arg(CLAVIDO_VERSION_MINOR)
        .arg(CLAVIDO_VERSION_PATCH);
}

FormInfo::FormInfo(Clavido& app)
    : Formular(app) {
    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { border: 2px solid #28345a; background: "
                                         "#f4f1e6; }"));
    Image2 = new QLabel(Shape1);
    Image2->setPixmap(bildPixmap(Bild::Schloss, 72));
    Label8 = new QLabel(QStringLiteral("lumoClavido"), Shape1);
    QFont produkt(QStringLiteral("Arial Black"), 22);
    produkt.setWeight(QFont::Black);
    Label8->setFont(produkt);
    Label8->setStyleSheet(QStringLiteral("color: #28345a;"));
    Label1 = new QLabel(Shape1);
    Label1->setFont(QFont(QStringLiteral("Arial"), 11));
    Label2 = new QLabel(Shape1);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(QFont(QStringLiteral("Arial"), 9));
    Label5 = new QLabel(QStringLiteral("eMail:"), Shape1);
    Hyperlink1 = link(QStringLiteral("mailto:") + kMail, kMail, Shape1);
    Label6 = new QLabel(QStringLiteral("Internet:"), Shape1);
    Hyperlink2 = link(kWeb, kWeb, Shape1);
    Label7 = new QLabel(QStringLiteral("\u00A9 Das lumoClavido-Projekt. Alle Rechte vorbehalten."),
                        Shape1);
    Label3 = new QLabel(Shape1);
    Label3->setWordWrap(true);
    Label3->setFont(QFont(QStringLiteral("Arial"), 8));
    Label7->setFont(QFont(QStringLiteral("Arial"), 8));
    for (QLabel* label : {Label5, Label6, Label7, Label3})
        label->setTextFormat(Qt::PlainText);

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(Image2);
    kopf->addSpacing(12);
    auto* namen = new QVBoxLayout;
    namen->addWidget(Label8);
    namen->addWidget(Label1);
    kopf->addLayout(namen);
    kopf->addStretch();
    auto* links = new QGridLayout;
    links->addWidget(Label5, 0, 0);
    links->addWidget(Hyperlink1, 0, 1);
    links->addWidget(Label6, 1, 0);
    links->addWidget(Hyperlink2, 1, 1);
    links->setColumnStretch(2, 1);
    auto* innen = new QVBoxLayout(Shape1);
    innen->setContentsMargins(18, 14, 18, 14);
    innen->addLayout(kopf);
    innen->addWidget(linie(Shape1));
    innen->addWidget(Label2);
    innen->addWidget(linie(Shape1));
    innen->addLayout(links);
    innen->addWidget(linie(Shape1));
    innen->addWidget(Label3);
    innen->addWidget(Label7);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Shape1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Hyperlink1, &QLabel::linkActivated, this, &FormInfo::linkOeffnen);
    connect(Hyperlink2, &QLabel::linkActivated, this, &FormInfo::linkOeffnen);
    // Every part of the window but the links closes it when clicked.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w != Hyperlink1 && w != Hyperlink2)
            w->installEventFilter(this);
    }
}

void FormInfo::Form_Load() {
    Label1->setText(releaseText());
    Label2->setText(QStringLiteral("lumoClavido bewahrt Geheimwörter, PINs und Zugangsdaten\n"
                                   "mehrerer Benutzer verschlüsselt in einer Datenbankdatei auf.\n"
                                   "Fragen, Hinweise und Fehlerberichte nimmt das Projekt gern\n"
                                   "per E-Mail oder über seine Internetseite entgegen."));
    Label3->setText(QStringLiteral("Datenbankdatei: ") +
                    QDir::toNativeSeparators(recordfile::pathIn(app.programmOrdner)) +
                    QStringLiteral("\n(%1)").arg(ort(app.ablage)));
}

void FormInfo::linkOeffnen(const QString& ziel) {
    app.dienste.processes.openUrl(QUrl(ziel));
}

bool FormInfo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Unload();
        return true;
    }
    return Formular::eventFilter(watched, event);
}

void FormInfo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Unload();
}
