"""A damaged database file at start: the message offers a saved file, the
restore brings it back and the program starts anew with it."""

import os

from desktop import datenbank, hauptprogramm, pruefe, sqlcipher

TITEL = "lumoClavido 6.1"


def szenario(d):
    ordner = d.programmordner()
    datei = os.path.join(ordner, "Clavido61.mdb")
    sicherung = d.temp("e2e-sicherung-")
    datenbank(os.path.join(sicherung, "Clavido61.mdb"), "Eva", "alt pw",
              [("Bank", "Konto", "DE11", "Giro")])
    with open(datei, "wb") as f:
        f.write(b"\x00kaputt" * 1000)

    programm = d.starte(ordner)
    box, text = programm.meldung()
    pruefe(text == f"Die Datenbankdatei\n{datei}\nkann nicht geöffnet werden: Sie ist beschädigt "
                   "oder keine Datenbank von lumoClavido.\n\nMöchten Sie eine gesicherte "
                   "Datenbank wieder herstellen?\nBei „Nein“ wird das Programm beendet, die "
                   "Datei bleibt unverändert.", text)
    d.bild("beschaedigt")
    d.klick(d.teil(box, "Ja", "push button"))

    restore = programm.fenster(TITEL, "Gesicherte Datenbank wieder herstellen")
    feld = d.teil(restore, "Ordner")
    d.klick(feld)
    d.taste("ctrl+a")
    d.tippe(sicherung)
    d.taste("Return")
    d.teil(restore, "Datenbankdatei: Clavido61.mdb vorhanden", "label")
    d.klick(d.teil(restore, "Datenbank wieder herstellen", "push button"))
    programm.antworte("Ja")
    programm.antworte("OK")
    pruefe(programm.ende() == 0, "Ende nach dem Zurückschreiben")
    pruefe(sqlcipher(datei, "SELECT Benutzer, Bezeichnung FROM Haupt") == [["Eva", "Konto"]],
           "zurückgeschriebene Datei")

    # The program has started itself anew, with the restored file.
    neu = d.neu_gestartet(ordner, programm)
    anmeldung = neu.fenster(TITEL, "Anmeldung", timeout=30)
    d.fokus(anmeldung, "Benutzerpasswort")
    d.tippe("alt pw")
    d.taste("Return")
    haupt = neu.fenster(TITEL + "  -  Eva")
    d.bild("neu_gestartet")
    pruefe(d.text(d.teil(haupt, "Datensatz-Bezeichnung", "text")) == "Konto", "Eintrag gezeigt")
    d.taste("F5", an=haupt)
    d.klick(d.teil(neu.fenster(TITEL, "Was möchten Sie tun:"), "Beenden", "push button"))
    neu.ende()


hauptprogramm(szenario)
