#include "environment.h"
#include "store/code_page.h"
#include "store/field_cipher.h"

#include <QTest>

namespace {

QByteArray codes(const QString& text) {
    QByteArray result;
    for (QChar c : text)
        result.append(char(codepage::code(c).value_or(-1)));
    return result;
}

} // namespace

class TestFieldCipher : public QObject {
    Q_OBJECT
private slots:
    void enciphersToTheStoredBytes_data();
    void enciphersToTheStoredBytes();
    void everyCodeFrom1To254RoundTrips();
    void wrapsBy255();
    void keyCyclesEveryFourCharacters();
    void codePageHasEveryByte();
    void refusesWhatCannotComeBack_data();
    void refusesWhatCannotComeBack();
};

void TestFieldCipher::enciphersToTheStoredBytes_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("Test") << QStringLiteral("Test") << QByteArray::fromHex("AACADFDF");
    QTest::newRow("geheim123") << QStringLiteral("geheim123")
                               << QByteArray::fromHex("BDCAD4D0BFD29D9D89");
    QTest::newRow("Äpfel") << QStringLiteral("Äpfel") << QByteArray::fromHex("1BD5D2D0C2");
    QTest::newRow("ÿ") << QStringLiteral("ÿ") << QByteArray::fromHex("56");
    QTest::newRow("code 0") << QString(QChar(0)) << QByteArray::fromHex("56");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestFieldCipher::enciphersToTheStoredBytes() {
    QFETCH(QString, plain);
    QFETCH(QByteArray, stored);
    const QString enciphered = verschluesseln(plain, kFeldSchluessel);
    QCOMPARE(codes(enciphered), stored);
    QCOMPARE(enciphered.size(), plain.size());
    if (plain == QStringLiteral("Test"))
        QCOMPARE(enciphered, QStringLiteral("ªÊßß"));
    // Deciphering gives the plain text back; "ÿ" comes back as code 0.
    const QString expected = plain == QStringLiteral("ÿ") ? QString(QChar(0)) : plain;
    QCOMPARE(entschluesseln(enciphered, kFeldSchluessel), expected);
}

void TestFieldCipher::everyCodeFrom1To254RoundTrips() {
    for (int code = 1; code <= 254; ++code) {
        for (int position = 0; position < 4; ++position) {
            QString text = QStringLiteral("abcd");
            text[position] = codepage::character(code);
            const QString stored = verschluesseln(text, kFeldSchluessel);
            QVERIFY2(entschluesseln(stored, kFeldSchluessel) == text,
                     qPrintable(QString::number(code)));
            for (QChar c : stored)
                QVERIFY(codepage::code(c).value_or(0) != 0);
        }
    }
}

void TestFieldCipher::wrapsBy255() {
    // 'V' is 86: 169 + 86 = 255 stays, 170 + 86 = 256 wraps to 1.
    QCOMPARE(codes(verschluesseln(QString(codepage::character(169)), kFeldSchluessel)),
             QByteArray::fromHex("FF"));
    QCOMPARE(codes(verschluesseln(QString(codepage::character(170)), kFeldSchluessel)),
             QByteArray::fromHex("01"));
    QCOMPARE(entschluesseln(QString(codepage::character(1)), kFeldSchluessel),
             QString(codepage::character(170)));
}

void TestFieldCipher::keyCyclesEveryFourCharacters() {
    // Five times "A" (65) uses V, e, l, k, V.
    QCOMPARE(codes(verschluesseln(QStringLiteral("AAAAA"), kFeldSchluessel)),
             QByteArray::fromHex("97A6ADAC97"));
}

void TestFieldCipher::codePageHasEveryByte() {
    for (int code = 0; code <= 255; ++code)
        QCOMPARE(codepage::code(codepage::character(code)), std::optional<int>(code));
    QCOMPARE(codepage::code(QChar(0x20AC)), std::optional<int>(0x80));
    QCOMPARE(codepage::character(0x81), QChar(0x81));
    QCOMPARE(codepage::code(QChar(0x142)), std::nullopt); // ł
}

void TestFieldCipher::refusesWhatCannotComeBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refused");
    QTest::newRow("plain") << QStringLiteral("Kto 12/34 äöüß") << QString();
    QTest::newRow("euro") << QStringLiteral("5 €") << QString();
    QTest::newRow("y diaeresis") << QStringLiteral("Müllerÿ") << QStringLiteral("ÿ");
    QTest::newRow("l stroke") << QStringLiteral("Łódź") << QStringLiteral("Ł");
    QTest::newRow("emoji") << QStringLiteral("a😀") << QStringLiteral("😀");
    QTest::newRow("emoji with skin tone")
        << QStringLiteral("ok 👍🏽!") << QStringLiteral("👍🏽");
    QTest::newRow("combining accent") << QStringLiteral("Cafe\u0301") << QStringLiteral("e\u0301");
}

void TestFieldCipher::refusesWhatCannotComeBack() {
    QFETCH(QString, text);
    QFETCH(QString, refused);
    const auto c = nichtSpeicherbaresZeichen(text);
    QCOMPARE(c.value_or(QString()), refused);
    if (refused.isEmpty())
        QCOMPARE(entschluesseln(verschluesseln(text, kFeldSchluessel), kFeldSchluessel), text);
}

CLAVIDO_TEST_MAIN(TestFieldCipher)
#include "test_field_cipher.moc"
