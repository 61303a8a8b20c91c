#include "platform/printer.h"

#include "platform/wait_cursor.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

QFont festeBreite(const QString& fontName, int pointSize, bool bold) {
    QFont font(fontName, pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(pointSize);
        font.setBold(bold);
    }
    return font;
}

QStringList zeilen(const QString& text) {
    QStringList result = text.split(u'\n');
    for (QString& zeile : result) {
        if (zeile.endsWith(u'\r'))
            zeile.chop(1);
    }
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace

Printer::Result QtPrinter::printText(const QString& text, const QString& fontName, int pointSize,
                                     bool bold) {
    WaitCursor warten;
    if (!pdfFile_.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile_);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return print(printer, text, fontName, pointSize, bold);
    }
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (standard.isNull())
        return Result::NoPrinter;
    QPrinter printer(standard, QPrinter::HighResolution);
    if (!printer.isValid())
        return Result::NoPrinter;
    return print(printer, text, fontName, pointSize, bold);
}

// Painted line by line: a text layout would wrap the long lines at the margin.
Printer::Result QtPrinter::print(QPrinter& printer, const QString& text, const QString& fontName,
                                 int pointSize, bool bold) {
    printer.setDocName(QCoreApplication::applicationName());
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(QPageLayout::Landscape);
    layout.setUnits(QPageLayout::Millimeter);
    // The text brings its own indent; the sides need no more than the printer's minimum.
    const QMarginsF minimum = layout.minimumMargins();
    layout.setMargins(QMarginsF(minimum.left(), std::max(minimum.top(), 10.0), minimum.right(),
                                std::max(minimum.bottom(), 10.0)));
    printer.setPageLayout(layout);

    QPainter painter;
    if (!painter.begin(&printer))
        return Result::Failed;
    const QFont font = festeBreite(fontName, pointSize, bold);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const QStringList lines = zeilen(text);
    qreal breite = 0;
    for (const QString& line : lines)
        breite = std::max(breite, metrics.horizontalAdvance(line));

    // A page too narrow for the longest line gets the whole text a little smaller.
    const QSizeF seite = printer.pageRect(QPrinter::DevicePixel).size();
    const qreal massstab = breite > seite.width() ? seite.width() / breite : 1.0;
    painter.scale(massstab, massstab);
    const qsizetype proSeite = std::max<qsizetype>(
        1, qsizetype(std::floor(seite.height() / massstab / metrics.lineSpacing())));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % proSeite == 0 && !printer.newPage())
            return Result::Failed;
        const qreal y = metrics.ascent() + qreal(i % proSeite) * metrics.lineSpacing();
        painter.drawText(QPointF(0, y), lines[i]);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return Result::Failed;
    return Result::Printed;
}
