#include "platform/db/access_header.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace db::access {

namespace {

constexpr char kSignature[] = "\x00\x01\x00\x00Standard Jet DB";
constexpr int kVersion = 0x14;
constexpr int kMasked = 0x18;
constexpr int kPassword = 0x42;
constexpr int kCreated = 0x72;

// The header from 0x18 on is masked with the RC4 key stream of this key,
// 126 bytes in Jet 3 and 128 in Jet 4.
std::array<uint8_t, 128> keyStream() {
    const uint8_t key[4] = {0xc7, 0xda, 0x39, 0x6b};
    std::array<uint8_t, 256> s;
    for (int i = 0; i < 256; ++i)
        s[i] = uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    std::array<uint8_t, 128> stream;
    for (int n = 0, i = 0, j = 0; n < 128; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        stream[n] = s[(s[i] + s[j]) & 0xff];
    }
    return stream;
}

// The whole days of the creation date, as the file's writer truncates them:
// towards zero, saturated, nothing for what is no number.
int32_t days(double date) {
    if (std::isnan(date))
        return 0;
    if (date >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (date <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(date);
}

} // namespace

Format formatOf(const QByteArray& head) {
    const QByteArray signature(kSignature, sizeof kSignature - 1);
    if (head.size() <= kVersion || !head.startsWith(signature))
        return Format::None;
    switch (uint8_t(head[kVersion])) {
    case 0:
        return Format::Jet3;
    case 1:
        return Format::Jet4;
    default:
        return Format::Later;
    }
}

QByteArray readHead(const QString& path) {
    // Not from a named pipe or a device, which could keep the reader waiting.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kHeaderSize);
}

Format formatOf(const QString& path) {
    return formatOf(readHead(path));
}

bool isJet(const QString& path) {
    const Format format = formatOf(path);
    return format == Format::Jet3 || format == Format::Jet4;
}

std::optional<QString> passwordOf(const QByteArray& head, CodePage codePage) {
    const Format format = formatOf(head);
    if (format != Format::Jet3 && format != Format::Jet4)
        return std::nullopt;
    const bool jet4 = format == Format::Jet4;
    const int masked = jet4 ? 128 : 126;
    if (head.size() < kMasked + masked)
        return std::nullopt;
    static const std::array<uint8_t, 128> stream = keyStream();
    QByteArray page = head.left(kMasked + masked);
    for (int i = 0; i < masked; ++i)
        page[kMasked + i] = char(uint8_t(page[kMasked + i]) ^ stream[i]);

    QByteArray password = page.mid(kPassword, jet4 ? 40 : 20);
    QString text;
    if (jet4) {
        // Jet 4 masks the password once more with the creation date.
        const double created = qFromLittleEndian<double>(page.constData() + kCreated);
        uchar mask[4];
        qToLittleEndian(days(created), mask);
        for (int i = 0; i < password.size(); ++i)
            password[i] = char(uint8_t(password[i]) ^ mask[i % 4]);
        for (int i = 0; i + 1 < password.size(); i += 2) {
            const char16_t c = qFromLittleEndian<char16_t>(password.constData() + i);
            if (c == 0)
                break;
            text += QChar(c);
        }
    } else {
        for (char c : password) {
            if (c == 0)
                break;
            text += codePage(uint8_t(c));
        }
    }
    return text;
}

} // namespace db::access
