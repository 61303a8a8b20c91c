#pragma once

#include "app/form.h"
#include "maintenance/uebernahme.h"
#include "platform/db/data_control.h"

class FolderChooser;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

// The import of the database files of older program versions. No Q_OBJECT:
// moc cannot read the umlaut of the name, and the dialog needs no meta-object
// of its own (its connections are to member functions).
class FormÜbernahme : public Formular {
public:
    explicit FormÜbernahme(Clavido& app);

    static QString titelUebernahme(); // "Datenübernahme lumoClavido 6.1"
    static QString hinweisText();

    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    QLabel* Label1;
    QGroupBox* Frame1;
    FolderChooser* Ordner;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QListWidget* File1;
    QLineEdit* Text1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command1;

    // The old file, in either format, and the data view on its table.
    uebernahme::AlteDatei alteDatei;
    db::DataControl Daten2{alteDatei};

protected:
    void Form_Load() override;
    void zuruecksetzen() override;

private:
    // Opens the chosen file and reads its rows; false (with a message) when
    // it cannot be taken over.
    bool alteZeilenLesen();
    // All old rows and the marks, or on a failure nothing.
    bool zeilenSchreiben(uebernahme::Version version);
    void hauptfensterAuffrischen(uebernahme::Version version);
    void alteDateiSchliessen();
    void ablehnen(const QString& grund);
};
