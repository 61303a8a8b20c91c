#pragma once

#include "platform/db/data_control.h"

#include <QMainWindow>

#include <functional>

class Clavido;
enum class Bild;
class LimitedTextEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

// The main window: the user's categories and entries, the shown entry, the commands.
class FormClavido : public QMainWindow {
    Q_OBJECT
public:
    explicit FormClavido(Clavido& app);
    ~FormClavido() override;

    // Runs the load step once: sign-in, then the user's lists.
    void laden();
    bool geladen() const { return geladen_; }

    void Form_Load();
    // The load step after a sign-in: the user's settings, lists and counts.
    void fensterFuellen();
    void Combo2_Click();
    void Combo1_Click();
    // The entry display shared by Combo1_Click and datensatzAnzeigen.
    void eintragAnzeigen(bool mitSanduhr);
    void Form_QueryUnload();

    void menu_neu_Click();
    void menu_edit_Click();
    void menu_loeschen_Click();
    void menu_kopieren_Click();
    void menu_suchen_Click();
    void menu_passwort_Click();
    void menu_drucken_Click();
    void menu_einstellungen_Click();
    void menu_datenübernehmen_Click();
    void menu_info_Click();
    void menu_anmelden_Click();
    void menu_ende_Click();
    void menu_hilfe_Click();

    // Plain-text display: ticking asks for the password again in Frame2.
    void Check1_Click();
    void Command9_Click();
    void Command10_Click();
    // After a selection with the mouse or the keyboard in a secret box: copying
    // needs plain text and a selection.
    void Text_MouseUp(QLineEdit* box);
    void Label11_Click();
    // The hint line for the control under the mouse (the window itself: the resting caption).
    void hinweisZeigen(QObject* unterDerMaus);
    static QString ruheHinweis();

    // If a secret was copied and the clipboard holds text, offers to empty it.
    void zwischenablageSchuetzen();
    // At the end and at a new sign-in: the backup chooser, if the user wants it.
    void sicherungAnbieten();

    // The category list from the user's rows; leaves the view on the query.
    void kategorienAufbauen();
    // Label3 from the entry list, Label2 from the count of the user's rows;
    // leaves the view on the whole table.
    void zaehlerAktualisieren();
    void zurTabelle();
    // The whole table as the file holds it now, on the shown entry again;
    // false when that is gone (see zumGezeigtenEintrag).
    bool tabelleNachlesen();
    // Runs `schreiben` on the whole table in one transaction, after reading
    // the table again inside it (another copy may have written). A failure
    // rolls all of it back and the view is read again from the file. After a
    // commit `geschrieben` runs; then the recordset stands on the shown entry
    // again either way.
    db::Error inEinerTransaktion(const std::function<db::Error(db::Recordset&)>& schreiben,
                                 const std::function<void()>& geschrieben = {});

    // Whether the recordset stands on the shown entry: a row of the signed-in
    // user with the designation the window shows.
    bool aufGezeigtemEintrag();
    // Stands on the row `zeile` if it is still the shown entry. When another
    // copy deleted that row or gave it to another user, the window is built
    // anew from the table, as after a deletion; false then. Without a shown
    // entry the recordset stands after its last row, on no one's row.
    bool zumGezeigtenEintrag(const db::Mark& zeile);
    // For the commands that read or write the current row: whether it is the
    // shown entry of the signed-in user (looked up if the recordset stands
    // elsewhere). If that entry is gone, the window is built anew.
    bool eigeneZeile();
    // Stands on the signed-in user's first row with this designation; after
    // the last row when there is none.
    bool zurZeile(const QString& bezeichnung);
    // Lists, counters and the entry shown built anew from the table.
    void neuAufbauen();
    // When another copy wrote since the lists were read: read them again, as
    // after a write of this window's own, on the shown entry if it is left.
    void fremdeAenderungenZeigen();
    // The boxes filled from the current row.
    void zeileAnzeigen();

    // Selects the item of a list with exactly this text and runs its click step.
    void kategorieWaehlen(const QString& kategorie);
    void eintragWaehlen(const QString& bezeichnung);

    db::DataControl Daten1;

    QLabel* Label1; // product name
    QComboBox* Combo2;
    QComboBox* Combo1;
    QLabel* Label12;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label11;
    QLabel* Label5;
    QLineEdit* Text6;
    QLabel* Label6;
    QLineEdit* Text5;
    QLabel* Label7;
    QLineEdit* Text4;
    QLabel* Label9;
    QLineEdit* Text9;
    QLabel* Label13;
    LimitedTextEdit* Text13;
    QLabel* Label14;
    QCheckBox* Check1;
    QGroupBox* Frame2;
    QLineEdit* Text7;
    QToolButton* Command9;
    QToolButton* Command10;
    QLabel* Label10;

    QMenu* Hmenu_datei;
    QMenu* Hmenu_bearbeiten;
    QMenu* Hmenu_optionen;
    QMenu* Hmenu_hilfe;
    QAction* menu_anmelden;
    QAction* trenner7;
    QAction* menu_neu;
    QAction* menu_loeschen;
    QAction* trenner2;
    QAction* menu_ende;
    QAction* menu_edit;
    QAction* menu_kopieren;
    QAction* menu_drucken;
    QAction* menu_passwort;
    QAction* trenner6;
    QAction* menu_suchen;
    QAction* menu_datenübernehmen;
    QAction* trenner5;
    QAction* menu_einstellungen;
    QAction* menu_hilfe;
    QAction* trenner4;
    QAction* trenner3;
    QAction* menu_info;

    QToolButton* Command4;
    QToolButton* Command5;
    QToolButton* Command3;
    QToolButton* Command13;
    QToolButton* Command12;
    QToolButton* Command2;
    QToolButton* Command8;
    QToolButton* Command7;
    QToolButton* Command11;
    QToolButton* Command1;

    // Password checks of the plain-text display: 0 until the first one.
    qint16 versuch = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void baueFenster();
    void baueMenue();
    void baueKnopfleiste(QWidget* leiste);
    QToolButton* bildKnopf(QWidget* parent, Bild bild, const QString& tip);
    void eintragsBefehleFreigeben(bool frei);
    void baueKlartextRahmen(QWidget* parent);
    void maskieren();
    void beobachten(QWidget* control);

    // The file's data version when the lists were read (it changes only
    // with another connection's writes).
    void listenStandMerken();

    Clavido& app;
    bool geladen_ = false;
    qint64 listenStand_ = -1;
};
