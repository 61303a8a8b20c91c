#pragma once

#include "platform/clipboard.h"
#include "platform/help.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/processes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>

// Test doubles of the platform services: they record what the program asked.

struct Meldung {
    QString text;
    int style = 0;
    QString title;
    int icon() const { return style & 0x70; }
    int buttons() const { return style & 0x7; }
};

class TestMessageBox : public MessageBox {
public:
    msg::Answer show(const QString& text, int style, const QString& title) override;
    // Answers for the next questions; an unplanned question is answered No.
    void antworte(std::initializer_list<msg::Answer> answers);
    QStringList texte() const;

    QList<Meldung> meldungen;
    std::deque<msg::Answer> antworten;
    int ungeplant = 0;
};

class TestClipboard : public Clipboard {
public:
    void clear() override { text.clear(); }
    void setSecretText(const QString& t) override { text = t; }
    bool hasText() const override { return !text.isEmpty(); }
    QString text;
};

class TestPrinter : public Printer {
public:
    Result printText(const QString& text, const QString& fontName, int pointSize,
                     bool bold) override;
    QStringList dokumente;
    QString schrift;
    int groesse = 0;
    // What the printer answers; with a file name, the real printing writes that PDF.
    Result ergebnis = Result::Printed;
    QString pdfDatei;
};

class TestHelp : public Help {
public:
    void showContents(QWidget*) override { ++geoeffnet; }
    void close() override { ++geschlossen; }
    int geoeffnet = 0;
    int geschlossen = 0;
};

class TestProcesses : public Processes {
public:
    bool start(const QString& program) override {
        gestartet << program;
        if (beimStart)
            beimStart();
        return true;
    }
    std::function<void()> beimStart; // sees the program at the moment of the start
    bool openUrl(const QUrl& url) override {
        geoeffnet << url.toString();
        return true;
    }
    QStringList geoeffnet;
    void endProgram(int code) override {
        ++beendet;
        endeCode = code;
    }
    QStringList gestartet;
    int beendet = 0;
    int endeCode = -1;
};
