#pragma once

#include <QString>

class QPrinter;

// The default printer: one document of fixed-pitch text a job.
class Printer {
public:
    enum class Result { Printed, NoPrinter, Failed };

    virtual ~Printer() = default;
    // Prints `text` landscape in the given face and size, one line per line
    // (CR LF or LF), never wrapped, on as many pages as it takes.
    virtual Result printText(const QString& text, const QString& fontName, int pointSize,
                             bool bold) = 0;
};

class QtPrinter : public Printer {
public:
    QtPrinter() = default;
    // Writes a PDF file on A4 instead of using the default printer.
    explicit QtPrinter(const QString& pdfFile)
        : pdfFile_(pdfFile) {}

    Result printText(const QString& text, const QString& fontName, int pointSize,
                     bool bold) override;

private:
    static Result print(QPrinter& printer, const QString& text, const QString& fontName,
                        int pointSize, bool bold);

    QString pdfFile_;
};
