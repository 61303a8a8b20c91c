#include "app/clavido.h"

#include "app/form_gruss.h"
#include "app/form_haftung.h"
#include "app/pictures.h"
#include "editor/form_daten.h"
#include "editor/form_suchen.h"
#include "login/pwform.h"
#include "login/pwfrage.h"
#include "login/pwstartform.h"
#include "main_window/form_clavido.h"
#include "maintenance/form_auswahl.h"
#include "maintenance/form_einstellungen.h"
#include "maintenance/form_info.h"
#include "maintenance/form_restore.h"
#include "maintenance/form_sichern.h"
#include "maintenance/form_uebernahme.h"
#include "platform/button_keys.h"
#include "platform/wait_cursor.h"
#include "store/field_cipher.h"
#include "store/record_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

Clavido::Clavido(Services& dienste, const QString& ordner)
    : Clavido(dienste, ablageIn(ordner)) {}

Clavido::Clavido(Services& dienste, const Ablage& ablage)
    : dienste(dienste)
    , ablage(ablage)
    , programmOrdner(ablage.ordner)
    , geheimFelder(dienste.clipboard) {
    // A box's own copy of a secret is a copy like the program's: the end asks about it.
    QObject::connect(&geheimFelder, &SecretBoxes::copied, [this] { sitzung.ablageBenutzt = 1; });
    ignoreFileSizeSignal();
    installButtonKeys();
    QApplication::setWindowIcon(bildIcon(Bild::Schloss));
}

// The forms go before the connection they read through.
Clavido::~Clavido() {
    formInfo_.reset();
    formUebernahme_.reset();
    formRestore_.reset();
    formSichern_.reset();
    formAuswahl_.reset();
    formEinstellungen_.reset();
    pwform_.reset();
    formSuchen_.reset();
    formDaten_.reset();
    pwstartform_.reset();
    formHaftung_.reset();
    pwfrage_.reset();
    formClavido_.reset();
    formGruss_.reset();
}

QString Clavido::titel() {
    return QStringLiteral("lumoClavido %1.%2")
        .arg(CLAVIDO_VERSION_MAJOR)
        .arg(CLAVIDO_VERSION_MINOR);
}

QString Clavido::fensterTitel() {
    return titel() + QStringLiteral("  -  ");
}

QString Clavido::programmDatei() {
    return QCoreApplication::applicationFilePath();
}

void Clavido::Main() {
    formGruss().show();
}

void Clavido::datensatzAnzeigen() {
    formClavido().eintragAnzeigen(false);
}

bool Clavido::datenbankOeffnen() {
    if (verbindung.isOpen())
        return true;
    if (!windowsDateiUebernehmen())
        return false;
    const auto result = [this] {
        WaitCursor warten; // the key derivation takes a noticeable moment
        return recordfile::openOrCreate(verbindung, programmOrdner);
    }();
    if (result.usable())
        return true;
    const QString pfad = QDir::toNativeSeparators(recordfile::pathIn(programmOrdner));
    const QString kopf = QStringLiteral("Die Datenbankdatei\r\n%1\r\n").arg(pfad);
    const QString ende =
        QStringLiteral("\r\n\r\nDas Programm wird beendet. Die Datei bleibt unverändert.");
    QString text;
    switch (result.outcome) {
    case recordfile::Outcome::NotCreatable:
        text = kopf + QStringLiteral("kann nicht angelegt werden.\r\n%1\r\n\r\n"
                                     "Das Programm wird beendet.")
                          .arg(result.error.text);
        break;
    case recordfile::Outcome::InUse:
        text =
            kopf +
            QStringLiteral("kann nicht geöffnet werden: Sie wird gerade von einem anderen "
                           "Programm benutzt. Bitte versuchen Sie es etwas später noch einmal.") +
            ende;
        break;
    case recordfile::Outcome::NotReadable:
        text = kopf + QStringLiteral("kann nicht gelesen werden.\r\n") + result.error.text + ende;
        break;
    case recordfile::Outcome::Folder:
        text = kopf + QStringLiteral("kann nicht geöffnet werden: An ihrer Stelle steht ein Ordner "
                                     "dieses Namens.\r\n\r\n"
                                     "Das Programm wird beendet. Der Ordner bleibt unverändert.");
        break;
    case recordfile::Outcome::DanglingLink:
        text = kopf + QStringLiteral("kann nicht geöffnet werden: Sie ist eine Verknüpfung auf\r\n"
                                     "%1\r\nund dort ist keine Datei vorhanden. Ist der "
                                     "Datenträger angeschlossen?\r\n\r\n"
                                     "Das Programm wird beendet. Die Verknüpfung bleibt "
                                     "unverändert.")
                          .arg(QDir::toNativeSeparators(
                              QFileInfo(recordfile::pathIn(programmOrdner)).symLinkTarget()));
        break;
    default:
        reparaturAnbieten(kopf + QStringLiteral("kann nicht geöffnet werden: Sie ist beschädigt "
                                                "oder keine Datenbank von lumoClavido."));
        return false;
    }
    meldung(text, msg::Critical);
    beenden();
    return false;
}

void Clavido::reparaturAnbieten(const QString& text) {
    verbindung.close();
    const auto antwort =
        meldung(text + QStringLiteral("\r\n\r\nMöchten Sie eine gesicherte Datenbank wieder "
                                      "herstellen?\r\nBei \u201ENein\u201C wird das Programm "
                                      "beendet, die Datei bleibt unverändert."),
                msg::Critical | msg::YesNo);
    if (antwort == msg::Yes) {
        // A restored file is read by a new start of the program.
        sitzung.endeModus = 1;
        FormRestore& restore = formRestore();
        restore.laden();
        restore.reparatur = true;
        restore.zeigeModal();
    }
    beenden();
}

bool Clavido::verschluesselbar(const QString& text, const QString& was) {
    const auto zeichen = nichtSpeicherbaresZeichen(text);
    if (!zeichen)
        return true;
    meldung(QStringLiteral("%1 enthält das Zeichen \u201E%2\u201C, das nicht gespeichert werden "
                           "kann.\r\nBitte verwenden Sie nur Buchstaben, Ziffern und Satzzeichen "
                           "des westeuropäischen Zeichensatzes (ohne \u201E\u00FF\u201C).")
                .arg(was, *zeichen),
            msg::Exclamation);
    return false;
}

msg::Answer Clavido::meldung(const QString& text, int style, const QString& title) {
    return dienste.messages.show(text, style, title);
}

void Clavido::hilfeAnzeigen(QWidget* parent) {
    dienste.help.showContents(parent);
}

void Clavido::beenden() {
    if (beendet_)
        return;
    beendet_ = true;
    for (Formular* form : std::initializer_list<Formular*>{
             formInfo_.get(), formUebernahme_.get(), formRestore_.get(), formSichern_.get(),
             formAuswahl_.get(), formEinstellungen_.get()}) {
        if (form)
            form->Unload();
    }
    if (pwform_)
        pwform_->Unload();
    if (formSuchen_)
        formSuchen_->Unload();
    if (formDaten_)
        formDaten_->Unload();
    if (pwstartform_)
        pwstartform_->Unload();
    if (formHaftung_)
        formHaftung_->Unload();
    if (pwfrage_)
        pwfrage_->Unload();
    if (formClavido_)
        formClavido_->hide();
    if (formGruss_)
        formGruss_->hide();
    dienste.help.close();
    verbindung.close();
    dienste.processes.endProgram(0);
}

FormGruss& Clavido::formGruss() {
    if (!formGruss_)
        formGruss_ = std::make_unique<FormGruss>(*this);
    return *formGruss_;
}

void Clavido::formGrussFreigeben() {
    if (formGruss_)
        formGruss_.release()->deleteLater();
}

FormClavido& Clavido::formClavido() {
    if (!formClavido_)
        formClavido_ = std::make_unique<FormClavido>(*this);
    return *formClavido_;
}

pwfrage& Clavido::formPwfrage() {
    if (!pwfrage_)
        pwfrage_ = std::make_unique<pwfrage>(*this);
    return *pwfrage_;
}

FormHaftung& Clavido::formHaftung() {
    if (!formHaftung_)
        formHaftung_ = std::make_unique<FormHaftung>(*this);
    return *formHaftung_;
}

pwstartform& Clavido::formPwstartform() {
    if (!pwstartform_)
        pwstartform_ = std::make_unique<pwstartform>(*this);
    return *pwstartform_;
}

FormDaten& Clavido::formDaten() {
    if (!formDaten_)
        formDaten_ = std::make_unique<FormDaten>(*this);
    formDaten_->laden();
    return *formDaten_;
}

FormSuchen& Clavido::formSuchen() {
    if (!formSuchen_)
        formSuchen_ = std::make_unique<FormSuchen>(*this);
    return *formSuchen_;
}

pwform& Clavido::formPwform() {
    if (!pwform_)
        pwform_ = std::make_unique<pwform>(*this);
    return *pwform_;
}

FormEinstellungen& Clavido::formEinstellungen() {
    if (!formEinstellungen_)
        formEinstellungen_ = std::make_unique<FormEinstellungen>(*this);
    return *formEinstellungen_;
}

FormAuswahl& Clavido::formAuswahl() {
    if (!formAuswahl_)
        formAuswahl_ = std::make_unique<FormAuswahl>(*this);
    return *formAuswahl_;
}

FormSichern& Clavido::formSichern() {
    if (!formSichern_)
        formSichern_ = std::make_unique<FormSichern>(*this);
    return *formSichern_;
}

FormRestore& Clavido::formRestore() {
    if (!formRestore_)
        formRestore_ = std::make_unique<FormRestore>(*this);
    return *formRestore_;
}

FormÜbernahme& Clavido::formUebernahme() {
    if (!formUebernahme_)
        formUebernahme_ = std::make_unique<FormÜbernahme>(*this);
    return *formUebernahme_;
}

FormInfo& Clavido::formInfo() {
    if (!formInfo_)
        formInfo_ = std::make_unique<FormInfo>(*this);
    return *formInfo_;
}
