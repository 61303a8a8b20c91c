#include "store/field_cipher.h"

#include "store/code_page.h"

#include <QTextBoundaryFinder>

namespace {

// Characters the code page cannot carry are stored as "?", as Windows does.
int codeOf(QChar c) {
    return codepage::code(c).value_or('?');
}

} // namespace

QString verschluesseln(const QString& text, const QString& key) {
    QString result;
    result.reserve(text.size());
    qsizetype j = 0;
    for (QChar c : text) {
        int v = codeOf(c) + codeOf(key[j]);
        if (v > 255)
            v -= 255;
        if (++j >= key.size())
            j = 0;
        result.append(codepage::character(v));
    }
    return result;
}

QString entschluesseln(const QString& text, const QString& key) {
    QString result;
    result.reserve(text.size());
    qsizetype j = 0;
    for (QChar c : text) {
        int t = codeOf(c) - codeOf(key[j]);
        if (t < 0)
            t += 255;
        if (++j >= key.size())
            j = 0;
        result.append(codepage::character(t));
    }
    return result;
}

std::optional<QString> nichtSpeicherbaresZeichen(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto code = codepage::code(text[i]);
        if (code && *code != 255)
            continue;
        QTextBoundaryFinder zeichen(QTextBoundaryFinder::Grapheme, text);
        zeichen.setPosition(i + 1);
        const qsizetype anfang = zeichen.toPreviousBoundary();
        zeichen.setPosition(i);
        const qsizetype ende = zeichen.toNextBoundary();
        return text.mid(anfang, ende - anfang);
    }
    return std::nullopt;
}
