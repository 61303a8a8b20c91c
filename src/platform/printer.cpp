#include "platform/printer.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

bool QtPrinter::printText(const QString& text, const QString& fontName, int pointSize, bool bold) {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    if (!printer.isValid())
        return false;
    printer.setPageOrientation(QPageLayout::Landscape);
    QFont font(fontName, pointSize, bold ? QFont::Bold : QFont::Normal);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(pointSize);
        font.setBold(bold);
    }
    QTextDocument document;
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}
