#pragma once

#include "app/form.h"

class FolderChooser;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeView;
class QVBoxLayout;

// The backup and the restore dialog: a heading, a prompt, the folder chooser
// and the two buttons, the main one left of "&Beenden". A chooser's error is
// reported with its number.
class OrdnerFormular : public Formular {
    Q_OBJECT
public:
    OrdnerFormular(Clavido& app, const QString& ueberschrift, const QString& aufforderung,
                   const QString& hauptknopf);

    QLabel* Label3;
    QLabel* Label1;
    FolderChooser* Ordner;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QPushButton* Command2;
    QPushButton* Command1;

protected:
    // Between the chooser and the buttons.
    void unterDieOrdner(QWidget* zeile);

private:
    QVBoxLayout* spalte_;
};
