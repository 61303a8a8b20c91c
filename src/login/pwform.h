#pragma once

#include "app/form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;

// Change of the user's name and password, after the password was typed again.
class pwform : public Formular {
    Q_OBJECT
public:
    explicit pwform(Clavido& app);

    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command9_Click();
    void Command10_Click();
    void Check1_Click();

    QGroupBox* Frame2; // the password asked again, over the dialog
    QLabel* Label5;
    QLineEdit* Text7;
    QPushButton* Command9;
    QPushButton* Command10;
    QGroupBox* Frame1;
    QLabel* Label1; // caption of Text3
    QLineEdit* Text3;
    QLabel* Label2; // caption of Text1
    QLineEdit* Text1;
    QLabel* Label3; // caption of Text2
    QLineEdit* Text2;
    QCheckBox* Check1;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command1;

    // Wrong passwords; it outlives the dialog's closing, 0 until the first check.
    qint16 versuch = 0;

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void showEvent(QShowEvent* event) override;
    void reject() override { Command1_Click(); }

private:
    bool eingabenZulaessig();
    void nameVergeben();
    bool zeilenUmschreiben(const QString& alterName);
    QStackedLayout* stapel_;
};
