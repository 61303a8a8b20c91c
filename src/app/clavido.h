#pragma once

#include "app/datenordner.h"
#include "app/session.h"
#include "platform/db/connection.h"
#include "platform/message_box.h"
#include "platform/secret_boxes.h"
#include "platform/services.h"

#include <QString>

#include <memory>

class QWidget;
class FormClavido;
class FormDaten;
class FormSuchen;
class pwform;
class FormEinstellungen;
class FormAuswahl;
class FormSichern;
class FormRestore;
class FormÜbernahme;
class FormInfo;
class FormGruss;
class FormHaftung;
class pwfrage;
class pwstartform;

// The program module: the session, the platform services, the database
// connection and the forms, each made when first used.
class Clavido {
public:
    Clavido(Services& dienste, const Ablage& ablage);
    // With the database file in `ordner`, for a reason not known.
    Clavido(Services& dienste, const QString& ordner);
    ~Clavido();
    Clavido(const Clavido&) = delete;
    Clavido& operator=(const Clavido&) = delete;

    static QString titel();        // "lumoClavido 6.1"
    static QString fensterTitel(); // the main window's caption before the user name
    // The running program's own file: started anew for another sign-in.
    static QString programmDatei();

    // The entry point: shows the splash window, which hands over to the main window.
    void Main();
    // Shows the entry named by the main window's entry list.
    void datensatzAnzeigen();

    // Opens the database file (creating it when there is none). When the file
    // cannot be used, says so and ends the program; then it returns false.
    bool datenbankOeffnen();
    // When the database file is the Access file of the Windows version: asks
    // whether to take its data over now, and does. False when the program ends.
    bool windowsDateiUebernehmen();
    // For a database file that cannot be used: says so in `text`, offers to
    // bring a saved one back, and ends the program either way.
    void reparaturAnbieten(const QString& text);

    // Whether `text` comes back unchanged through the field cipher; if not, says
    // which character of `was` ("Das Passwort", "Das Feld …") cannot be stored.
    bool verschluesselbar(const QString& text, const QString& was);

    msg::Answer meldung(const QString& text, int style, const QString& title = titel());
    void hilfeAnzeigen(QWidget* parent);

    // Ends the program at once. Open windows are closed first, so that a test
    // double of the process end sees every modal loop return.
    void beenden();
    bool beendet() const { return beendet_; }

    FormGruss& formGruss();
    FormClavido& formClavido();
    pwfrage& formPwfrage();
    FormHaftung& formHaftung();
    pwstartform& formPwstartform();
    FormDaten& formDaten();
    FormSuchen& formSuchen();
    pwform& formPwform();
    FormEinstellungen& formEinstellungen();
    FormAuswahl& formAuswahl();
    FormSichern& formSichern();
    FormRestore& formRestore();
    FormÜbernahme& formUebernahme();
    FormInfo& formInfo();
    bool hatFormClavido() const { return formClavido_ != nullptr; }
    bool hatFormDaten() const { return formDaten_ != nullptr; }
    void formGrussFreigeben();

    Sitzung sitzung;
    Services& dienste;
    // Where the database file is, and why there.
    Ablage ablage;
    // The folder of the database file (the program's own for a portable copy).
    const QString programmOrdner;
    db::Connection verbindung;
    // The boxes that show secrets: what they copy by themselves is guarded.
    SecretBoxes geheimFelder;

private:
    bool beendet_ = false;
    std::unique_ptr<FormGruss> formGruss_;
    std::unique_ptr<FormClavido> formClavido_;
    std::unique_ptr<pwfrage> pwfrage_;
    std::unique_ptr<FormHaftung> formHaftung_;
    std::unique_ptr<pwstartform> pwstartform_;
    std::unique_ptr<FormDaten> formDaten_;
    std::unique_ptr<FormSuchen> formSuchen_;
    std::unique_ptr<pwform> pwform_;
    std::unique_ptr<FormEinstellungen> formEinstellungen_;
    std::unique_ptr<FormAuswahl> formAuswahl_;
    std::unique_ptr<FormSichern> formSichern_;
    std::unique_ptr<FormRestore> formRestore_;
    std::unique_ptr<FormÜbernahme> formUebernahme_;
    std::unique_ptr<FormInfo> formInfo_;
};
