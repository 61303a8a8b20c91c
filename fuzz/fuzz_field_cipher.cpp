#include "check.h"
#include "store/code_page.h"
#include "store/field_cipher.h"

#include <cstring>
#include <vector>

// The field cipher on any UTF-16 text: every character the code page holds,
// but "ÿ", comes back unchanged; "ÿ" comes back as code 0 and a character
// outside the code page as "?"; what is stored lies inside the code page.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char16_t> einheiten(size / 2);
    if (!einheiten.empty())
        std::memcpy(einheiten.data(), data, einheiten.size() * 2);
    const QString text = QString::fromUtf16(einheiten.data(), qsizetype(einheiten.size()));

    const QString gespeichert = verschluesseln(text, kFeldSchluessel);
    const QString zurueck = entschluesseln(gespeichert, kFeldSchluessel);
    pruefen(gespeichert.size() == text.size() && zurueck.size() == text.size(),
            "the cipher changed the length");
    bool speicherbar = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        pruefen(codepage::code(gespeichert[i]).has_value(), "stored outside the code page");
        const auto code = codepage::code(text[i]);
        const QChar erwartet = !code ? QChar(u'?') : *code == 255 ? QChar(0) : text[i];
        pruefen(zurueck[i] == erwartet, "a character came back changed");
        speicherbar = speicherbar && code && *code != 255;
    }
    const auto zeichen = nichtSpeicherbaresZeichen(text);
    pruefen(zeichen.has_value() != speicherbar, "the check of storable text is wrong");
    pruefen(!zeichen || (!zeichen->isEmpty() && text.contains(*zeichen)),
            "the named character is not the text's");
    pruefen(entschluesseln(text, kFeldSchluessel).size() == text.size(),
            "deciphering changed the length");
    return 0;
}
