#include "platform/db/access_text.h"

#include <QtEndian>

namespace db::access {

namespace {

bool appendUtf16(QString& text, const char* data, qsizetype size) {
    if (size % 2)
        return false;
    for (qsizetype i = 0; i < size; i += 2)
        text += QChar(qFromLittleEndian<char16_t>(data + i));
    return true;
}

} // namespace

std::optional<QString> jet4Text(const QByteArray& bytes) {
    QString text;
    if (!bytes.startsWith("\xff\xfe")) {
        if (!appendUtf16(text, bytes.constData(), bytes.size()))
            return std::nullopt;
        return text;
    }
    text.reserve(bytes.size());
    bool compressed = true;
    qsizetype start = 2;
    for (qsizetype i = 2; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != 0)
            continue;
        if (compressed) {
            for (qsizetype k = start; k < i; ++k)
                text += QChar(char16_t(uint8_t(bytes[k])));
        } else if (!appendUtf16(text, bytes.constData() + start, i - start)) {
            return std::nullopt;
        }
        compressed = !compressed;
        start = i + 1;
    }
    return text;
}

QString jet3Text(const QByteArray& bytes, CodePage codePage) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text += codePage(uint8_t(c));
    return text;
}

} // namespace db::access
