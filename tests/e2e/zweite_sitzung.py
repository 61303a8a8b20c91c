"""A user comes back: two wrong passwords, then the right one; he renames
himself, backs the file up, changes an entry and restores the backup, which
waits until a second copy of the program on the same file has ended."""

import os

from desktop import datenbank, hauptprogramm, pruefe, sqlcipher, warte

TITEL = "lumoClavido 6.1"


def anmelden(d, programm, name, falsche=()):
    anmeldung = programm.fenster(TITEL, "Anmeldung")
    pruefe(d.text(d.teil(anmeldung, "Benutzername", "combo box")) == name, "vorgewählter Name")
    for nummer, falsch in enumerate(falsche, 1):
        d.fokus(anmeldung, "Benutzerpasswort")
        d.tippe(falsch)
        d.taste("Return")
        text = programm.antworte("OK")
        pruefe(text == f"{nummer}. Versuch: Das Passwort ist ungültig!", text)
    d.fokus(anmeldung, "Benutzerpasswort")
    d.tippe("alt pw")
    d.taste("Return")
    return programm.fenster(TITEL + "  -  " + name)


def ordner_oeffnen(d, fenster, ordner):
    feld = d.teil(fenster, "Ordner")
    d.klick(feld)
    d.taste("ctrl+a")
    d.tippe(ordner)
    d.taste("Return")


def in_gebrauch(datei):
    """Whether a copy of the program has the file open: its mark in the kernel's lock list."""
    inode = f":{os.stat(datei).st_ino}"
    with open("/proc/locks") as locks:
        return any("OFDLCK" in z and z.split()[5].endswith(inode) for z in locks)


def bemerkungen(datei):
    return [z[0] for z in sqlcipher(datei, "SELECT Bemerkungen FROM Haupt ORDER BY rowid")]


def szenario(d):
    ordner = d.programmordner()
    datei = os.path.join(ordner, "Clavido61.mdb")
    sicherung = d.temp("e2e-sicherung-")
    datenbank(datei, "Max Mustermann", "alt pw",
              [("Bank", "Depot", "DE99", "alt"), ("Bank", "Konto", "DE11", "Giro")])

    programm = d.starte(ordner)
    haupt = anmelden(d, programm, "Max Mustermann", ["falsch1", "falsch2"])

    d.taste("F7", an=haupt)
    pw = programm.fenster(TITEL, "Bitte mit Passwort neu legitimieren")
    d.fokus(pw, "Passwort")
    d.tippe("alt pw")
    d.taste("Return")
    name = d.teil(pw, "Benutzer")
    d.klick(name)
    d.taste("ctrl+a")
    d.tippe("Max M.")
    d.bild("name_und_passwort")
    d.klick(d.teil(pw, " Benutzername / Passwort speichern ", "push button"))
    programm.antworte("Ja")
    text = programm.antworte("OK")
    pruefe(text == "Benutzername und  Passwort wurden gespeichert!", text)
    haupt = programm.fenster(TITEL + "  -  Max M.")

    d.taste("F5", an=haupt)
    auswahl = programm.fenster(TITEL, "Was möchten Sie tun:")
    d.klick(d.teil(auswahl, "o.K.", "push button"))
    sichern = programm.fenster(TITEL, "Sie können jetzt Ihre Datenbank sichern")
    ordner_oeffnen(d, sichern, sicherung)
    d.bild("sichern")
    d.klick(d.teil(sichern, "Datenbank sichern", "push button"))
    programm.antworte("Ja")
    text = programm.antworte("OK")
    pruefe(text == f"Ihre Datenbankdatei wurde in den Ordner  {sicherung}   gesichert.", text)
    pruefe(programm.ende() == 0, "Ende nach der Sicherung")
    kopie = os.path.join(sicherung, "Clavido61.mdb")
    pruefe([z[0] for z in sqlcipher(kopie, "SELECT DISTINCT Benutzer FROM Haupt")] == ["Max M."],
           "Sicherung mit neuem Namen")

    # A change after the backup, then the backup brought back.
    programm = d.starte(ordner)
    haupt = anmelden(d, programm, "Max M.")
    d.klick(d.teil(haupt, "Daten in Klartext"))
    d.fokus(haupt, "Passwort", "password text")
    d.tippe("alt pw")
    d.taste("Return")
    d.taste("F6")
    editor = programm.fenster(TITEL, "Datensatz editieren")
    d.klick(d.teil(editor, "Bemerkungen"))
    d.taste("ctrl+a")
    d.tippe("neu")
    d.klick(d.teil(editor, "Datensatz speichern", "push button"))
    programm.antworte("Ja")
    programm.kein_fenster(TITEL, "Datensatz editieren")
    pruefe(bemerkungen(datei) == ["neu", "Giro"], f"geändert: {bemerkungen(datei)}")

    d.taste("F5", an=haupt)
    auswahl = programm.fenster(TITEL, "Was möchten Sie tun:")
    d.klick(d.teil(auswahl, "gesicherte Datenbank einlesen", "radio button"))
    d.klick(d.teil(auswahl, "o.K.", "push button"))
    restore = programm.fenster(TITEL, "Gesicherte Datenbank wieder herstellen")
    ordner_oeffnen(d, restore, sicherung)
    d.teil(restore, "Datenbankdatei: Clavido61.mdb vorhanden", "label")
    d.bild("wieder_herstellen")

    # A second copy signs in on the same file meanwhile: nothing is replaced under it.
    zweite = d.starte(ordner)
    d.fokus(zweite.fenster(TITEL, "Anmeldung"), "Benutzerpasswort")
    warte(lambda: in_gebrauch(datei), "die Datei in Gebrauch der zweiten Kopie")
    # Put aside, as a person would: where it opened, it hides the first copy's questions.
    d.xdo("search", "--onlyvisible", "--pid", str(zweite.prozess.pid), "--name", TITEL,
          "windowmove", "--sync", "0", "0")
    d.klick(d.teil(restore, "Datenbank wieder herstellen", "push button"), vorn=False)
    programm.antworte("Ja")
    text = programm.antworte("OK")
    pruefe(text == "Fehler 70:   Die Datenbankdatei ist in einem anderen laufenden lumoClavido "
                   "geöffnet.\nBitte beenden Sie dieses zuerst und versuchen Sie es dann noch "
                   "einmal.\n\nDie aktuelle Datenbankdatei bleibt unverändert.", text)
    pruefe(bemerkungen(datei) == ["neu", "Giro"], "unverändert neben der zweiten Kopie")
    zweite.prozess.terminate()
    zweite.ende()

    d.klick(d.teil(restore, "Datenbank wieder herstellen", "push button"))
    programm.antworte("Ja")
    text = programm.antworte("OK")
    pruefe(text == "Die Datenbankdatei wurde in den Programmordner zurück geschrieben", text)
    pruefe(programm.ende() == 0, "Ende nach dem Zurückschreiben")
    pruefe(bemerkungen(datei) == ["alt", "Giro"], f"alter Stand: {bemerkungen(datei)}")
    pruefe(sqlcipher(datei, "PRAGMA integrity_check") == [], "unversehrt")


hauptprogramm(szenario)
