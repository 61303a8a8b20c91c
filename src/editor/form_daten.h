#pragma once

#include "app/form.h"
#include "platform/db/recordset.h"

#include <QStringList>

class LimitedTextEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The entry editor: a new entry, the first entry of a new user, or the shown entry.
class FormDaten : public Formular {
    Q_OBJECT
public:
    explicit FormDaten(Clavido& app);

    static QString standardText10() { return QStringLiteral("Konto-Nr / User- ID"); }

    void Command1_Click();
    void Command2_Click();
    void Command11_Click();
    // The change event of every input: saving needs all nine filled.
    void Eingabe_Change();
    void setKategorie(const QString& kategorie);
    // Gives each empty caption box its standard text; the third one's is the caller's.
    void leereBeschriftungenFuellen(const QString& dritte);

    QGroupBox* Frame1;
    QLabel* Label1;
    QComboBox* Combo1;
    QLabel* Label5;
    QLineEdit* Text1;
    QLabel* Label6;
    QLineEdit* Text2;
    QLabel* Label7;
    QLineEdit* Text3;
    QLabel* Label9;
    QLineEdit* Text8;
    QLabel* Label13;
    QLabel* Label14;
    LimitedTextEdit* Text14;
    QLabel* Label12;
    QLineEdit* Text10;
    QLineEdit* Text11;
    QLineEdit* Text12;
    QToolButton* Command2;
    QToolButton* Command11;
    QToolButton* Command1;

    // The row as the editor was filled from it, in edit mode.
    QStringList zeileBeimOeffnen;
    static QStringList zeileJetzt(db::Recordset& rs);

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void showEvent(QShowEvent* event) override;
    void reject() override { Command1_Click(); }

private:
    void baueFenster();
    bool geheimnisseSpeicherbar();
    bool bezeichnungVergeben();
    bool kannSchreiben();
    void hauptfensterNachziehen();
};
