"""First use on an empty folder: registration, two entries, plain text, a copy (none into the
primary selection, the box's own marked), search, delete, and the end with the clipboard question
and the backup chooser."""

import os

from desktop import feld_schluessel, hauptprogramm, pruefe, sqlcipher, warte

TITEL = "lumoClavido 6.1"
NAME, PASSWORT = "Erika Muster", "Geheim 7"


def eintrag(d, programm, editor, kategorie, bezeichnung, konto, pin, zusatz, bemerkung):
    for feld, text in [("Kategorie", kategorie),
                       ("Datensatz-Bezeichnung  (bis zu 30 Satzzeichen)", bezeichnung),
                       ("Konto-Nr / User-ID", konto), ("PIN / Kennwort", pin), ("URL", zusatz),
                       ("Bemerkungen", bemerkung)]:
        d.klick(d.teil(editor, feld))
        d.tippe(text)
    d.klick(d.teil(editor, "Datensatz speichern", "push button"))
    text = programm.antworte("Ja")
    pruefe(text == "Möchten Sie diesen Datensatz jetzt speichern?", text)


def szenario(d):
    ordner = d.programmordner()
    programm = d.starte(ordner)
    programm.fenster(TITEL, "Bitte haben Sie etwas Geduld, das Programm wird geladen...")
    # No core file may keep what the program shows in plain text.
    with open(f"/proc/{programm.pid}/limits") as limits:
        kern = [z.split() for z in limits if z.startswith("Max core file size")][0]
    pruefe(kern[4:6] == ["0", "0"], f"Kern-Datei: {kern}")
    d.bild("start")

    anmeldung = programm.fenster(TITEL, "Anmeldung")
    d.bild("anmeldung")
    d.fokus(anmeldung, "Benutzername", "combo box")
    d.tippe(NAME)
    d.klick(d.teil(anmeldung, "Benutzerpasswort"))
    d.tippe(PASSWORT)
    d.taste("Return")
    text = programm.antworte("Ja")
    pruefe(text == "Sie sind noch nicht als Benutzer registriert!\n"
                   "Möchten Sie sich jetzt als neuer Benutzer anmelden?", text)

    haftung = programm.fenster(TITEL, "Hinweise zur Datensicherheit und Haftung")
    d.bild("haftung")
    d.klick(d.teil(haftung, "Ja, ich akzeptiere", "push button"))

    registrierung = programm.fenster(TITEL, "Pw wiederholen")
    d.bild("registrierung")
    d.klick(d.teil(registrierung, " Passwort speichern  ", "push button"))
    programm.antworte("Ja")

    editor = programm.fenster(TITEL, "Hier neuen Datensatz anlegen")
    eintrag(d, programm, editor, "Bank", "Girokonto", "DE12 3456", "4711", "https://bank.example",
            "Online-Banking")
    haupt = programm.fenster(TITEL + "  -  " + NAME)
    d.bild("hauptfenster")

    d.taste("F2", an=haupt)
    editor = programm.fenster(TITEL, "Neuen Datensatz anlegen")
    eintrag(d, programm, editor, "Internet", "Webmail", "erika@mail.example", "Blume 12",
            "https://mail.example", "privat")
    programm.kein_fenster(TITEL, "Neuen Datensatz anlegen")

    # Plain text after the password once more.
    d.klick(d.teil(haupt, "Daten in Klartext"))
    d.fokus(haupt, "Passwort", "password text")
    d.bild("klartext_frage")
    d.tippe(PASSWORT)
    d.taste("Return")
    # The window shows the entry saved last, under its own caption.
    konto = d.teil(haupt, "Konto-Nr / User- ID", "text")
    warte(lambda: d.text(konto) == "erika@mail.example", "der Klartext")
    d.bild("klartext")

    # A copy of what the mouse selected.
    d.klick(konto)
    d.taste("Home")
    d.ziehen(konto, 0.0, 0.98)
    warte(lambda: konto.queryText().getSelection(0) == (0, len("erika@mail.example")),
          "die Auswahl mit der Maus")
    # A middle click elsewhere pastes no secret.
    pruefe(d.ablage("primary") != "erika@mail.example", "Auswahl: " + repr(d.ablage("primary")))
    # The box's own copy marks the secret for clipboard managers, as the program's does.
    d.taste("ctrl+c")
    warte(lambda: d.ablage() == "erika@mail.example", "Strg+C in der Zwischenablage")
    pruefe("x-kde-passwordManagerHint" in d.ablage(ziel="TARGETS").split(),
           "Kennzeichen: " + repr(d.ablage(ziel="TARGETS")))
    d.klick(d.teil(haupt, "Geheimwort kopieren", "push button"))
    text = programm.antworte("OK", "lumoClavido")
    pruefe(text.startswith("Das ausgewählte Geheimwort wurde in Klartext in die Zwischenablage "
                           "kopiert!"), text)
    pruefe(d.ablage() == "erika@mail.example", "Zwischenablage: " + repr(d.ablage()))

    # Search, then delete the hit.
    d.taste("F9", an=haupt)
    suche = programm.fenster("Datensatzbezeichnung suchen...")
    d.fokus(suche, "Suchbegriff")
    d.tippe("GIRO")
    d.taste("Return")
    text = programm.antworte("OK")
    pruefe(text == "Datensatzbezeichnung mit dem Suchbegriff gefunden!", text)
    d.bild("suche")
    d.klick(d.teil(suche, "Abbrechen", "push button"))
    programm.kein_fenster("Datensatzbezeichnung suchen...")
    pruefe(d.text(d.teil(haupt, "Datensatz-Bezeichnung", "text")) == "Girokonto",
           "Treffer gezeigt")
    d.taste("F4", an=haupt)
    text = programm.antworte("Ja")
    pruefe(text == "Diesen Datensatz jetzt löschen?", text)

    # The end: the clipboard question, then the backup chooser.
    d.taste("F5", an=haupt)
    text = programm.antworte("Ja")
    pruefe(text.startswith("Die Zwischenablage enthält Text, evtl. ein Geheimwort!"), text)
    programm.antworte("OK")
    auswahl = programm.fenster(TITEL, "Was möchten Sie tun:")
    d.bild("auswahl")
    d.klick(d.teil(auswahl, "Beenden", "push button"))
    pruefe(programm.ende() == 0, "Programmende")
    pruefe(d.ablage() == "", "Zwischenablage geleert")

    zeilen = sqlcipher(os.path.join(ordner, "Clavido61.mdb"),
                       'SELECT Bezeichnung, "Konto-Nr", Pin, Zusatz, Bezeichnung1, Bezeichnung2, '
                       "Bezeichnung3, Bemerkungen, Kategorie, Benutzer, Passwort, Sichern, fragen, "
                       '"übernommen" FROM Haupt')
    erwartet = [["Webmail", feld_schluessel("erika@mail.example"), feld_schluessel("Blume 12"),
                 feld_schluessel("https://mail.example"), "Konto-Nr / User- ID", "PIN / Kennwort",
                 "URL", "privat", "Internet", NAME, feld_schluessel(PASSWORT), "1", "1", ""]]
    pruefe(zeilen == erwartet, f"Zeilen in der Datei: {zeilen!r}")


hauptprogramm(szenario)
