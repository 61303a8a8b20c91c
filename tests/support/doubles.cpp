#include "doubles.h"

msg::Answer TestMessageBox::show(const QString& text, int style, const QString& title) {
    meldungen.append({text, style, title});
    if ((style & 0x7) != msg::YesNo)
        return msg::Ok;
    if (antworten.empty()) {
        ++ungeplant;
        return msg::No;
    }
    const msg::Answer answer = antworten.front();
    antworten.pop_front();
    return answer;
}

void TestMessageBox::antworte(std::initializer_list<msg::Answer> answers) {
    antworten.insert(antworten.end(), answers);
}

QStringList TestMessageBox::texte() const {
    QStringList result;
    for (const Meldung& m : meldungen)
        result << m.text;
    return result;
}

Printer::Result TestPrinter::printText(const QString& text, const QString& fontName, int pointSize,
                                       bool bold) {
    dokumente << text;
    schrift = fontName;
    groesse = pointSize;
    if (!pdfDatei.isEmpty())
        return QtPrinter(pdfDatei).printText(text, fontName, pointSize, bold);
    return ergebnis;
}
