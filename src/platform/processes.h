#pragma once

#include <QString>

// Starting a program and ending this one.
class Processes {
public:
    virtual ~Processes() = default;
    // Starts `program` with a normal, focused window; false when it could not be started.
    virtual bool start(const QString& program) = 0;
    // Ends this process at once. A test double records the call and returns.
    virtual void endProgram(int code) = 0;
};

class RealProcesses : public Processes {
public:
    bool start(const QString& program) override;
    [[noreturn]] void endProgram(int code) override;
};

// A write beyond a file-size limit then fails with EFBIG, which a save
// reports, instead of ending the program at once.
void ignoreFileSizeSignal();
