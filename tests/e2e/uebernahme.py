"""The import of a file of an older version, in the real program: the Access
file of the Windows version 5.x/6.x is chosen in the file list, beside a file
of version 4.1, and imported once."""

import json
import os
import shutil

from desktop import datenbank, feld_schluessel, hauptprogramm, pruefe, sqlcipher

DATEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "access")

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
    shutil.copyfile(os.path.join(DATEN, "Clavido6.mdb"), os.path.join(alt, "Clavido6.mdb"))

    programm = d.starte(ordner)
    d.fokus(programm.fenster(TITEL, "Anmeldung"), "Benutzerpasswort")
    d.tippe("alt pw")
    d.taste("Return")
    haupt = programm.fenster(TITEL + "  -  Eva")
    d.taste("alt+o", an=haupt)
    menue = d.warte_auf(lambda: d.alle(programm.app(), lambda a: a.getRoleName() == "menu item" and
                                       a.name == "Daten aus älteren Versionen übernehmen" and
                                       d.sichtbar(a)), "der Eintrag im Menü Optionen")
    d.klick(menue[0])
    dialog = programm.fenster(TITEL, "Datenübernahme")
    feld = d.teil(dialog, "Ordner")
    d.klick(feld)
    d.taste("ctrl+a")
    d.tippe(alt)
    d.taste("Return")
    d.teil(dialog, "Clavido41.mdb", "list item")
    d.klick(d.teil(dialog, "Clavido6.mdb", "list item"))
    d.bild("uebernahme")
    d.klick(d.teil(dialog, "Starten...", "push button"))
    text = programm.antworte("Ja", UEBERNAHME)
    pruefe(text == "Möchten Sie jetzt die Datenübernahme starten?", text)
    text = programm.antworte("OK", UEBERNAHME)
    pruefe(text == "Die Daten aus lumoClavido 5/6.x wurden erfolgreich übernommen!", text)
    programm.kein_fenster(TITEL, "Datenübernahme")

    # Every value as the Access file holds it, in the columns the rules give.
    spalten = ["Bezeichnung", "Konto-Nr", "Pin", "Zusatz", "Bezeichnung1", "Bezeichnung2",
               "Bezeichnung3", "Bemerkungen", "Kategorie", "Benutzer", "Passwort", "Sichern"]
    zeilen = sqlcipher(datei, "SELECT " + ", ".join(f'hex("{s}")' for s in spalten) +
                       ', fragen, "übernommen" FROM Haupt ORDER BY rowid')
    with open(os.path.join(DATEN, "Clavido6.mdb.json"), encoding="utf-8") as f:
        alte = json.load(f)
    vergeben = {"Konto"}
    for z in alte:
        if z["Bezeichnung"] in vergeben:
            z["Bezeichnung"] += "  --2"
        vergeben.add(z["Bezeichnung"])
    erwartet = [[(z[s] or "").encode("utf-8").hex().upper() for s in spalten] + ["1", "1"]
                for z in alte]
    pruefe(zeilen[0][0] == "Konto".encode().hex().upper() and zeilen[0][-1] == "1" and
           zeilen[1:] == erwartet, f"Zeilen nach der Übernahme: {zeilen!r}")

    d.taste("F5", an=haupt)
    d.klick(d.teil(programm.fenster(TITEL, "Was möchten Sie tun:"), "Beenden", "push button"))
    pruefe(programm.ende() == 0, "Programmende")


hauptprogramm(szenario)
