#pragma once

#include <QString>

class QUrl;

// Starting a program, opening an address through the desktop, ending this one.
class Processes {
public:
    virtual ~Processes() = default;
    // Starts `program` with a normal, focused window; false when it could not be started.
    virtual bool start(const QString& program) = 0;
    // A web page in the browser, a new mail in the mail program.
    virtual bool openUrl(const QUrl& url) = 0;
    // Ends this process: every event loop returns at once and no new one
    // runs, so what the caller still does shows nothing. A test double
    // records the call.
    virtual void endProgram(int code) = 0;
};

class RealProcesses : public Processes {
public:
    bool start(const QString& program) override;
    bool openUrl(const QUrl& url) override;
    void endProgram(int code) override;
};

// A write beyond a file-size limit then fails with EFBIG, which a save
// reports, instead of ending the program at once.
void ignoreFileSizeSignal();
