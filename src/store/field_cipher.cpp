#include "store/field_cipher.h"

#include "store/code_page.h"

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

std::optional<QChar> nichtSpeicherbaresZeichen(const QString& text) {
    for (QChar c : text) {
        const auto code = codepage::code(c);
        if (!code || *code == 255)
            return c;
    }
    return std::nullopt;
}
