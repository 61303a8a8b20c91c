#include "maintenance/ordner_formular.h"

#include "app/clavido.h"
#include "maintenance/sicherung_ende.h"
#include "platform/folder_chooser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OrdnerFormular::OrdnerFormular(Clavido& app, const QString& ueberschrift,
                               const QString& aufforderung, const QString& hauptknopf)
    : Formular(app) {
    Label3 = new QLabel(ueberschrift, this);
    QFont fett = Label3->font();
    fett.setBold(true);
    fett.setPointSize(fett.pointSize() + 2);
    Label3->setFont(fett);
    Label1 = new QLabel(aufforderung, this);
    Ordner = new FolderChooser(this);
    Drive1 = Ordner->drives();
    Dir1 = Ordner->tree();
    Command2 = new QPushButton(hauptknopf, this);
    Command1 = new QPushButton(QStringLiteral("&Beenden"), this);
    for (QPushButton* knopf : {Command1, Command2})
        knopf->setAutoDefault(false);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);
    spalte_ = new QVBoxLayout(this);
    spalte_->addWidget(Label3);
    spalte_->addWidget(Label1);
    spalte_->addWidget(Ordner, 1);
    spalte_->addLayout(knoepfe);
    connect(Ordner, &FolderChooser::error, this, [this](int nummer, const QString& beschreibung) {
        this->app.meldung(fehlerText(nummer, beschreibung), msg::Exclamation);
    });
}

void OrdnerFormular::unterDieOrdner(QWidget* zeile) {
    spalte_->insertWidget(spalte_->indexOf(Ordner) + 1, zeile);
}
