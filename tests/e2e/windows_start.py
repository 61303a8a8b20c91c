"""The first start on the database file of the Windows version 6.1: its data
are taken over as stored, the Windows file stays beside the new one, and its
user signs in with his Windows password. Once on the Access 2000 file, once on
an Access 97 file after years of use: moved and deleted rows, long memos."""

import json
import os
import shutil

from desktop import hauptprogramm, pruefe, sqlcipher

TITEL = "lumoClavido 6.1"
DATEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "access")
SPALTEN = ["Bezeichnung", "Konto-Nr", "Pin", "Zusatz", "Bezeichnung1", "Bezeichnung2",
           "Bezeichnung3", "Bemerkungen", "Kategorie", "Benutzer", "Passwort", "Sichern",
           "fragen", "übernommen"]


def start_auf(d, windows_datei):
    ordner = d.programmordner()
    datei = os.path.join(ordner, "Clavido61.mdb")
    shutil.copyfile(windows_datei, datei)
    programm = d.starte(ordner)
    text = programm.antworte("Ja")
    pruefe("stammt aus der Windows-Version von lumoClavido." in text and
           "\nClavido61-Windows.mdb\n" in text, text)

    d.fokus(programm.fenster(TITEL, "Anmeldung"), "Benutzerpasswort")
    d.tippe("geheim")
    d.taste("Return")
    haupt = programm.fenster(TITEL + "  -  Anna Berger")
    d.bild("windows_start")
    d.taste("F5", an=haupt)
    d.klick(d.teil(programm.fenster(TITEL, "Was möchten Sie tun:"), "Beenden", "push button"))
    pruefe(programm.ende() == 0, "Programmende")

    with open(windows_datei, "rb") as f, \
            open(os.path.join(ordner, "Clavido61-Windows.mdb"), "rb") as g:
        pruefe(f.read() == g.read(), "die Windows-Datei unverändert daneben")
    with open(windows_datei + ".json", encoding="utf-8") as f:
        erwartet = [[(z[s] or "").encode("utf-8").hex().upper() for s in SPALTEN]
                    for z in json.load(f)]
    zeilen = sqlcipher(datei, "SELECT " + ", ".join(f'hex("{s}")' for s in SPALTEN) +
                       " FROM Haupt ORDER BY rowid")
    anders = [i for i, (z, e) in enumerate(zip(zeilen, erwartet)) if z != e]
    pruefe(len(zeilen) == len(erwartet) and not anders, f"{len(zeilen)} Zeilen, andere: {anders}")


def szenario(d):
    for windows_datei in ["Clavido61.mdb", "jet3/Clavido61-gelebt.mdb"]:
        start_auf(d, os.path.join(DATEN, windows_datei))


hauptprogramm(szenario)
