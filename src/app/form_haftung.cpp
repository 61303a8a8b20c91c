#include "app/form_haftung.h"

#include "app/clavido.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FormHaftung::FormHaftung(Clavido& app)
    : Formular(app) {
    Label1 = new QLabel(QStringLiteral("Hinweise zur Datensicherheit und Haftung"), this);
    QFont kopf(QStringLiteral("Arial"), 12);
    kopf.setBold(true);
    Label1->setFont(kopf);
    Label1->setStyleSheet(QStringLiteral("color: #00008b;"));

    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    Text1->setFont(QFont(QStringLiteral("Arial"), 9));
    Text1->setPlainText(haftungsText());
    Text1->setMinimumSize(600, 320);

    Command1 = new QPushButton(QStringLiteral("Ja, ich akzeptiere"), this);
    Command2 = new QPushButton(QStringLiteral("Abbrechen"), this);
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &FormHaftung::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormHaftung::Command2_Click);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(Command1);
    knoepfe->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addLayout(knoepfe);
    // A dialog of fixed size: its pictures and buttons stay where they belong.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString FormHaftung::haftungsText() {
    QFile file(QStringLiteral(":/texts/haftung.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

void FormHaftung::Command1_Click() {
    Unload();
}

void FormHaftung::Command2_Click() {
    Unload();
    app.beenden();
}
