#pragma once

#include "app/form.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The two settings: the backup offer at the end and the confirmation questions.
class FormEinstellungen : public Formular {
    Q_OBJECT
public:
    explicit FormEinstellungen(Clavido& app);

    void Command1_Click();
    void Command2_Click();
    void Option3_Click();
    void Option4_Click();

    QGroupBox* Frame1;
    QLabel* Label1; // heading of Option1/Option2
    QRadioButton* Option1;
    QRadioButton* Option2;
    QLabel* Label2; // heading of Frame2
    QGroupBox* Frame2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void reject() override { Command1_Click(); }

private:
    bool zeilenSchreiben(const QString& sichern, const QString& fragen);

    QGroupBox* sichernGruppe_; // Option1/Option2, named by Label1 for a screen reader
    QButtonGroup* sichernKnoepfe_;
    QButtonGroup* fragenKnoepfe_;
};
