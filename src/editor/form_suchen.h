#pragma once

#include "app/form.h"
#include "platform/db/recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The search for designations: first hit, then the next ones in table order,
// each shown at once in the main window behind the dialog.
class FormSuchen : public Formular {
    Q_OBJECT
public:
    explicit FormSuchen(Clavido& app);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Text1_Change();

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Image1;
    QPushButton* Command4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;

protected:
    void Form_Load() override;
    void zuruecksetzen() override;
    void showEvent(QShowEvent* event) override;
    void reject() override { Command3_Click(); }

private:
    void suchen(bool vonAnfang);
    void trefferZeigen();

    // The row of the last hit since the dialog opened: the main window's lists
    // are made true again for it when the dialog closes.
    db::Mark letzterTreffer_;
};
