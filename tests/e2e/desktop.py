"""A desktop for the real program: Xvfb, a window manager, a D-Bus session with
the accessibility bus, and a person's hands: the mouse and keyboard (xdotool)
and eyes (the accessibility tree, screenshots)."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TIMEOUT = 20.0


class Fehlschlag(AssertionError):
    pass


def warte(bedingung, was, timeout=TIMEOUT):
    ende = time.time() + timeout
    while True:
        try:
            ergebnis = bedingung()
        except Fehlschlag:
            raise
        except Exception:  # the tree changes under our feet
            ergebnis = None
        if ergebnis:
            return ergebnis
        if time.time() > ende:
            raise Fehlschlag("nicht erschienen: " + was)
        time.sleep(0.1)


class Desktop:
    def __init__(self, programm, grabber, ausgabe):
        self.programm = programm
        self.grabber = grabber
        self.ausgabe = ausgabe
        # Only this run's pictures and logs.
        shutil.rmtree(ausgabe, ignore_errors=True)
        os.makedirs(ausgabe)
        self.prozesse, self.ordner, self.dbus_pid = [], [], 0
        self.bild_nr = 0
        self.env = dict(os.environ)
        try:
            self.aufbauen()
        except BaseException:
            self.schliessen()
            raise

    def aufbauen(self):
        r, w = os.pipe()
        # Without -noreset the server starts anew when its last client leaves, and a client
        # that connects meanwhile (the window manager after dbus-launch) is turned away.
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.prozesse.append(xvfb)
        os.close(w)
        nummer = b""
        while not nummer.endswith(b"\n"):
            stueck = os.read(r, 16)
            if not stueck:
                raise Fehlschlag("Xvfb startet nicht")
            nummer += stueck
        os.close(r)
        self.env["DISPLAY"] = ":" + nummer.decode().strip()
        self.laufzeit = self.temp("e2e-run-")
        os.chmod(self.laufzeit, 0o700)
        self.env["XDG_RUNTIME_DIR"] = self.laufzeit
        bus = subprocess.run(["dbus-launch", "--sh-syntax"], env=self.env, capture_output=True,
                             text=True, check=True).stdout
        for zeile in bus.splitlines():
            if "=" in zeile and zeile.startswith("DBUS_SESSION"):
                name, wert = zeile.split("=", 1)
                self.env[name] = wert.rstrip(";").strip("'")
        self.dbus_pid = int(self.env.get("DBUS_SESSION_BUS_PID", "0") or 0)
        with open(os.path.join(self.ausgabe, "openbox.log"), "wb") as log:
            self.prozesse.append(subprocess.Popen(["openbox"], env=self.env, stdout=log,
                                                  stderr=subprocess.STDOUT))
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                                    "XDG_RUNTIME_DIR")})
        os.environ["NO_AT_BRIDGE"] = "0"
        import pyatspi  # needs the session bus of this desktop
        self.atspi = pyatspi
        # A window shown before the window manager runs is never given the keyboard.
        def fenstermanager():
            if self.prozesse[-1].poll() is not None:
                raise Fehlschlag(f"openbox hat mit {self.prozesse[-1].returncode} geendet")
            return subprocess.run(["xdotool", "get_num_desktops"], env=self.env,
                                  capture_output=True).returncode == 0
        warte(fenstermanager, "der Fenstermanager")

    # --- the program ---------------------------------------------------------

    def temp(self, prefix):
        ordner = tempfile.mkdtemp(prefix=prefix)
        self.ordner.append(ordner)
        return ordner

    def programmordner(self):
        ordner = self.temp("e2e-clavido-")
        shutil.copy2(self.programm, os.path.join(ordner, "Clavido6"))
        return ordner

    def starte(self, ordner):
        env = dict(self.env)
        env.update({"QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                    "QT_ACCESSIBILITY": "1", "LANG": "de_DE.UTF-8"})
        env.pop("QT_LOGGING_RULES", None)
        # What the program says goes to the output folder, for a failed run.
        self.starts = getattr(self, "starts", 0) + 1
        log = open(os.path.join(self.ausgabe, f"programm-{self.starts}.log"), "wb")
        p = subprocess.Popen([os.path.join(ordner, "Clavido6")], cwd="/", env=env,
                             stdout=log, stderr=subprocess.STDOUT)
        log.close()
        self.prozesse.append(p)
        return Kopie(self, p.pid, p)

    def neu_gestartet(self, ordner, vorher):
        """The copy the program started of itself from this folder after the copy vorher."""
        datei = os.path.realpath(os.path.join(ordner, "Clavido6"))

        def suche():
            for pid in filter(str.isdigit, os.listdir("/proc")):
                try:
                    if int(pid) != vorher.pid and os.readlink(f"/proc/{pid}/exe") == datei:
                        return Kopie(self, int(pid))
                except OSError:
                    pass
        return warte(suche, "das neu gestartete Programm")

    # --- eyes ----------------------------------------------------------------

    def warte_auf(self, bedingung, was, timeout=TIMEOUT):
        return warte(bedingung, was, timeout)

    def sichtbar(self, acc):
        return acc.getState().contains(self.atspi.STATE_SHOWING)

    def aktiv(self, fenster):
        """Whether the window has the keyboard: placed and shown by the window manager."""
        zustand = fenster.getState()
        return all(zustand.contains(z) for z in (self.atspi.STATE_SHOWING, self.atspi.STATE_ACTIVE))

    def alle(self, wurzel, bedingung):
        gefunden = []

        def gehe(acc, tiefe):
            if acc is None or tiefe > 25:
                return
            try:
                if bedingung(acc):
                    gefunden.append(acc)
                for i in range(acc.childCount):
                    gehe(acc.getChildAtIndex(i), tiefe + 1)
            except Exception:
                pass

        gehe(wurzel, 0)
        return gefunden

    def teil(self, fenster, name, rolle=None, timeout=TIMEOUT):
        def suche():
            # A box is named by its label: without a role asked for, the box wins.
            t = self.alle(fenster, lambda a: a.name.strip() == name.strip() and self.sichtbar(a)
                          and (a.getRoleName() == rolle if rolle else a.getRoleName() != "label"))
            if not t:
                # A list box is named by its value; its caption is the label for it.
                for label in self.alle(fenster, lambda a: a.getRoleName() == "label"
                                       and a.name.strip() == name.strip() and self.sichtbar(a)):
                    for r in label.getRelationSet():
                        if r.getRelationType() == self.atspi.RELATION_LABEL_FOR:
                            ziel = r.getTarget(0)
                            if ziel is not None and (rolle is None or ziel.getRoleName() == rolle):
                                t.append(ziel)
            if not t and rolle is None:
                t = self.alle(fenster, lambda a: a.name.strip() == name.strip() and self.sichtbar(a))
            return t[0] if t else None
        return warte(suche, f"\u201e{name}\u201c" + (f" ({rolle})" if rolle else ""), timeout)

    def text(self, acc):
        """The text of a box; of an editable list, that of its input line."""
        try:
            t = acc.queryText()
        except NotImplementedError:
            zeilen = self.alle(acc, lambda a: a is not acc and a.getRoleName() == "text")
            if not zeilen:
                raise
            t = zeilen[0].queryText()
        return t.getText(0, t.characterCount)

    def bild(self, name):
        self.bild_nr += 1
        pfad = os.path.join(self.ausgabe, f"{self.bild_nr:02d}_{name}.png")
        # From the X server itself, whatever platform the tests run on.
        subprocess.run([self.grabber, pfad], env=dict(self.env, QT_QPA_PLATFORM="xcb"), check=False)
        return pfad

    # --- hands ---------------------------------------------------------------

    def xdo(self, *argumente):
        subprocess.run(["xdotool", *argumente], env=self.env, check=True)

    def mitte(self, acc):
        e = acc.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        return e.x + e.width // 2, e.y + e.height // 2

    def klick(self, acc, vorn=True):
        """Clicks the middle of a box once its window has the keyboard: until the window manager
        has placed a new window, the tree tells where the program asked for it. A window in the
        back (vorn=False) is clicked where it stands."""
        fenster = acc
        while fenster.parent is not None and fenster.parent.getRoleName() != "application":
            fenster = fenster.parent
        if vorn and fenster.getRoleName() != "menu":
            warte(lambda: self.aktiv(fenster), f"Fokus im Fenster \u201e{fenster.name}\u201c")
        # The server takes one client's fake events in turn: the click lands where the move went.
        # ("mousemove --sync" to where the pointer already stands waits 15 s for a move.)
        x, y = self.mitte(acc)
        self.xdo("mousemove", str(x), str(y), "click", "1")

    def ziehen(self, acc, von_anteil, bis_anteil):
        """Selects with the mouse across a box, from one fraction of its width to another."""
        e = acc.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        y = e.y + e.height // 2
        befehle = ["mousemove", str(e.x + int(e.width * von_anteil)), str(y), "mousedown", "1"]
        for schritt in range(1, 6):
            x = e.x + int(e.width * (von_anteil + (bis_anteil - von_anteil) * schritt / 5))
            befehle += ["mousemove", str(x), str(y)]
        self.xdo(*befehle, "mouseup", "1")

    def fokus(self, fenster, name, rolle=None):
        """Waits until the box has the keyboard focus: a new window may be shown before the
        window manager gives it the keyboard, and keys typed then are lost."""
        feld = self.teil(fenster, name, rolle)
        warte(lambda: feld.getState().contains(self.atspi.STATE_FOCUSED),
              f"Fokus in \u201e{name}\u201c")
        return feld

    def tippe(self, text):
        self.xdo("type", "--delay", "15", text)

    def taste(self, *tasten, an=None):
        """Presses keys; with an=window, once that window has the keyboard."""
        if an is not None:
            warte(lambda: self.aktiv(an), f"Fokus im Fenster \u201e{an.name}\u201c")
        self.xdo("key", "--delay", "40", *tasten)

    def ablage(self, auswahl="clipboard", ziel=None):
        """What the clipboard holds; with auswahl="primary", what a middle click pastes;
        with ziel="TARGETS", the types it is offered in."""
        befehl = ["xclip", "-o", "-selection", auswahl] + (["-t", ziel] if ziel else [])
        return subprocess.run(befehl, env=self.env, capture_output=True, text=True).stdout

    def schliessen(self):
        for p in reversed(self.prozesse):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(3)
                except subprocess.TimeoutExpired:
                    p.kill()
        if self.dbus_pid:
            try:
                os.kill(self.dbus_pid, signal.SIGTERM)
            except OSError:
                pass
        for ordner in self.ordner:
            shutil.rmtree(ordner, ignore_errors=True)


def laeuft(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class Kopie:
    """One running copy of the program and its windows. Its application in the accessibility
    tree is known by the process id: every copy's bears the same name."""

    def __init__(self, desktop, pid, prozess=None):
        self.d, self.pid, self.prozess = desktop, pid, prozess
        self.anwendung = None

    def app(self):
        def suche():
            desk = self.d.atspi.Registry.getDesktop(0)
            for i in range(desk.childCount):
                a = desk.getChildAtIndex(i)
                if a is not None and a.get_process_id() == self.pid:
                    return a
        if self.anwendung is None:
            self.anwendung = warte(suche, f"das Programm {self.pid} im Zugänglichkeitsbaum")
        return self.anwendung

    def gezeigt(self, titel):
        app = self.app()
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.name == titel and self.d.sichtbar(w):
                yield w

    def fenster(self, titel, enthaelt=None, timeout=TIMEOUT):
        """A shown window with this caption (and, if given, a child of that name)."""
        def suche():
            for w in self.gezeigt(titel):
                if enthaelt is None or self.d.alle(w, lambda a: a.name == enthaelt
                                                   and self.d.sichtbar(a)):
                    return w
        return warte(suche, f"Fenster \u201e{titel}\u201c" + (f" mit \u201e{enthaelt}\u201c" if enthaelt else ""),
                     timeout)

    def kein_fenster(self, titel, enthaelt=None, timeout=TIMEOUT):
        def weg():
            try:
                self.fenster(titel, enthaelt, timeout=0.2)
                return False
            except Fehlschlag:
                return True
        warte(weg, f"Schließen von \u201e{titel}\u201c", timeout)

    def meldung(self, titel="lumoClavido 6.1", timeout=TIMEOUT, knopf=None):
        """The text of the message box with this caption (and this button) that has the keyboard."""
        def suche():
            for w in self.gezeigt(titel):
                if not self.d.aktiv(w) or w.getRoleName() not in ("alert", "dialog"):
                    continue
                knoepfe = self.d.alle(w, lambda a: a.getRoleName() == "push button")
                namen = {k.name for k in knoepfe}
                if not namen or not namen <= {"OK", "Ja", "Nein"}:
                    continue
                # The box answered a moment ago may still be in the tree.
                if knopf is not None and knopf not in namen:
                    continue
                texte = [a.name for a in self.d.alle(w, lambda a: a.getRoleName() == "label")
                         if a.name]
                return w, "\n".join(texte)
        return warte(suche, f"Meldung \u201e{titel}\u201c", timeout)

    def antworte(self, knopf, titel="lumoClavido 6.1"):
        """Answers the message box shown now by clicking one of its buttons; returns its text
        once the box has gone: keys meant for the window below would reach the box."""
        box, text = self.meldung(titel, knopf=knopf)
        self.d.klick(self.d.teil(box, knopf, "push button"))

        def weg():
            try:
                return not self.d.sichtbar(box)
            except Exception:  # gone from the tree
                return True
        warte(weg, f"Schließen der Meldung \u201e{text}\u201c")
        return text

    def ende(self, timeout=TIMEOUT):
        """Waits for the end of the copy; its exit status, if this desktop started it."""
        if self.prozess is None:
            return warte(lambda: not laeuft(self.pid), "das Ende des Programms", timeout)
        try:
            return self.prozess.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Fehlschlag("das Programm endet nicht")


def feld_schluessel(klar, schluessel="Velk"):
    """The field cipher, as another installation computes it, on Windows-1252 codes."""
    k = schluessel.encode("cp1252")
    aus = ""
    for i, b in enumerate(klar.encode("cp1252")):
        v = b + k[i % len(k)]
        v = v - 255 if v > 255 else v
        try:
            aus += bytes([v]).decode("cp1252")
        except UnicodeDecodeError:  # the five codes the code page leaves out
            aus += chr(v)
    return aus


def sqlcipher(datei, sql):
    """Rows of a query, read by the command-line tool of the database engine."""
    ergebnis = subprocess.run(
        ["sqlcipher", "-batch", "-noheader", "-separator", "\x1f", datei],
        input=f"PRAGMA key = 'kolm3815';\n{sql};\n",
        capture_output=True, text=True)
    if ergebnis.returncode != 0:
        raise Fehlschlag("sqlcipher: " + ergebnis.stderr)
    zeilen = [z for z in ergebnis.stdout.split("\n") if z != "ok" and z != ""]
    return [z.split("\x1f") for z in zeilen]


def hauptprogramm(szenario):
    """Runs a scenario with the arguments of the test: program, screen grabber, output folder."""
    programm, grabber, ausgabe = sys.argv[1:4]
    d = Desktop(programm, grabber, ausgabe)
    try:
        szenario(d)
    except Exception:
        d.bild("fehlschlag")
        for p in d.prozesse:
            if p.args[0].endswith("Clavido6") and p.poll() is not None:
                print(f"Clavido6 hat mit {p.returncode} geendet", file=sys.stderr)
        raise
    finally:
        d.schliessen()
    print("ok")


SCHEMA = ('CREATE TABLE Haupt (Bezeichnung TEXT, "Konto-Nr" TEXT, Pin TEXT, Zusatz TEXT, '
          "Bezeichnung1 TEXT, Bezeichnung2 TEXT, Bezeichnung3 TEXT, Bemerkungen TEXT, "
          "Kategorie TEXT, Benutzer TEXT, Passwort TEXT, Sichern TEXT, fragen TEXT, "
          "\"übernommen\" TEXT DEFAULT '')")


def datenbank(datei, benutzer, passwort, eintraege):
    """A database file as another installation writes it: (category, designation, secret, remark)."""
    def q(text):
        return "'" + text.replace("'", "''") + "'"
    zeilen = [SCHEMA]
    for kategorie, bezeichnung, geheim, bemerkung in eintraege:
        werte = [bezeichnung, feld_schluessel(geheim), feld_schluessel("1234"), feld_schluessel("https://bank.example"),
                 "Konto-Nr / User-ID", "PIN / Kennwort", "URL", bemerkung, kategorie, benutzer,
                 feld_schluessel(passwort), "1", "1"]
        zeilen.append('INSERT INTO Haupt (Bezeichnung, "Konto-Nr", Pin, Zusatz, Bezeichnung1, '
                      "Bezeichnung2, Bezeichnung3, Bemerkungen, Kategorie, Benutzer, Passwort, "
                      "Sichern, fragen) VALUES (" + ", ".join(q(w) for w in werte) + ")")
    sqlcipher(datei, ";\n".join(zeilen))


def pruefe(bedingung, was):
    if not bedingung:
        raise Fehlschlag(was)
