"""The import of a file of an older version, in the real program: the old
file of version 4.1 is chosen in the file list and imported once."""

import os

from desktop import datenbank, feld_schluessel, hauptprogramm, pruefe, sqlcipher

TITEL = "lumoClavido 6.1"
UEBERNAHME = "Datenübernahme lumoClavido 6.1"


def szenario(d):
    ordner = d.programmordner()
    datei = os.path.join(ordner, "Clavido61.mdb")
    datenbank(datei, "Eva", "alt pw", [("Bank", "Konto", "DE11", "Giro")])
    alt = d.temp("e2e-alt-")
    # A file of version 4.1: no categories, no settings columns.
    sqlcipher(os.path.join(alt, "Clavido41.mdb"),
              'CREATE TABLE Haupt (Bezeichnung TEXT, "Konto-Nr" TEXT, Pin TEXT, Zusatz TEXT, '
              "Bezeichnung1 TEXT, Bezeichnung2 TEXT, Bezeichnung3 TEXT, Bemerkungen TEXT, "
              "Benutzer TEXT, Passwort TEXT);\n"
              "INSERT INTO Haupt VALUES ('Konto', '" + feld_schluessel("DE22") + "', '', '', "
              "'Konto-Nr', 'PIN', 'URL', 'alt', 'Eva', '" + feld_schluessel("alt pw") + "')")

    programm = d.starte(ordner)
    d.fokus(d.fenster(TITEL, "Anmeldung"), "Benutzerpasswort")
    d.tippe("alt pw")
    d.taste("Return")
    haupt = d.fenster(TITEL + "  -  Eva")
    d.taste("alt+o")
    menue = d.warte_auf(lambda: d.alle(d.app(), lambda a: a.getRoleName() == "menu item" and
                                       a.name == "Daten aus älteren Versionen übernehmen" and
                                       d.sichtbar(a)), "der Eintrag im Menü Optionen")
    d.klick(menue[0])
    dialog = d.fenster(TITEL, "Datenübernahme")
    feld = d.teil(dialog, "Ordner")
    d.klick(feld)
    d.taste("ctrl+a")
    d.tippe(alt)
    d.taste("Return")
    d.klick(d.teil(dialog, "Clavido41.mdb", "list item"))
    d.bild("uebernahme")
    d.klick(d.teil(dialog, "Starten...", "push button"))
    text = d.antworte("Ja", UEBERNAHME)
    pruefe(text == "Möchten Sie jetzt die Datenübernahme starten?", text)
    text = d.antworte("OK", UEBERNAHME)
    pruefe(text == "Die Daten aus lumoClavido 4.1 wurden erfolgreich übernommen!", text)
    d.kein_fenster(TITEL, "Datenübernahme")

    zeilen = sqlcipher(datei, 'SELECT Bezeichnung, Kategorie, "Konto-Nr", fragen, "übernommen" '
                              "FROM Haupt ORDER BY rowid")
    pruefe(zeilen == [["Konto", "Bank", feld_schluessel("DE11"), "1", "1"],
                      ["Konto  --2", "Standard-Kategorie", feld_schluessel("DE22"), "1", "1"]],
           f"Zeilen nach der Übernahme: {zeilen!r}")

    d.taste("F5")
    d.klick(d.teil(d.fenster(TITEL, "Was möchten Sie tun:"), "Beenden", "push button"))
    pruefe(d.warte_auf_ende(programm) == 0, "Programmende")


hauptprogramm(szenario)
