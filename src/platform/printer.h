#pragma once

#include <QString>

// The default printer: one document of fixed-pitch text a job.
class Printer {
public:
    virtual ~Printer() = default;
    // Prints `text` landscape in the given face and size; false when nothing could be printed.
    virtual bool printText(const QString& text, const QString& fontName, int pointSize,
                           bool bold) = 0;
};

class QtPrinter : public Printer {
public:
    bool printText(const QString& text, const QString& fontName, int pointSize, bool bold) override;
};
