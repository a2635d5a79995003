#include "core/cp1251.h"

#include <QTest>

#include <iconv.h>

#include <cerrno>
#include <cstring>

using namespace orvix;

namespace {

// The system's own table, one conversion at a time, so our table is never checked against itself.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return m_cd != iconv_t(-1); }

    // False when iconv has no mapping for the input.
    bool convert(const void* in, size_t inSize, void* out, size_t outSize, size_t* written) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = static_cast<char*>(const_cast<void*>(in));
        char* dst = static_cast<char*>(out);
        size_t left = outSize;
        const size_t r = iconv(m_cd, &src, &inSize, &dst, &left);
        *written = outSize - left;
        return r != size_t(-1) && inSize == 0;
    }

private:
    iconv_t m_cd;
};

} // namespace

class TestCp1251 : public QObject {
    Q_OBJECT
private slots:
    void decodesEveryByteLikeIconv();
    void encodesEveryBmpCharacterLikeIconv();
    void encodesCharactersOutsideTheBmpAsOneQuestionMark();
    void roundTripsEveryDefinedByte();
};

void TestCp1251::decodesEveryByteLikeIconv() {
    Iconv cv("UTF-16LE", "CP1251");
    QVERIFY2(cv.ok(), "iconv has no CP1251");
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        char16_t expected = 0;
        size_t written = 0;
        if (!cv.convert(&byte, 1, &expected, sizeof expected, &written) || written != 2)
            expected = 0xFFFD;
        const QString got = cp1251::decode(QByteArrayView(&byte, 1));
        QCOMPARE(got.size(), 1);
        QVERIFY2(got[0].unicode() == expected,
                 qPrintable(QStringLiteral("byte 0x%1: got U+%2, iconv U+%3")
                                .arg(b, 2, 16, QLatin1Char('0'))
                                .arg(got[0].unicode(), 4, 16, QLatin1Char('0'))
                                .arg(expected, 4, 16, QLatin1Char('0'))));
    }
    QCOMPARE(cp1251::decode("\x98").at(0).unicode(), char16_t(0xFFFD));
}

void TestCp1251::encodesEveryBmpCharacterLikeIconv() {
    Iconv cv("CP1251", "UTF-16LE");
    QVERIFY2(cv.ok(), "iconv has no CP1251");
    int mapped = 0;
    for (int c = 0; c < 0x10000; ++c) {
        if (QChar::isSurrogate(char32_t(c)))
            continue;
        const char16_t ch = char16_t(c);
        char expected = '?';
        size_t written = 0;
        char out[4];
        if (cv.convert(&ch, sizeof ch, out, sizeof out, &written) && written == 1) {
            expected = out[0];
            ++mapped;
        }
        const QByteArray got = cp1251::encode(QStringView(&ch, 1));
        QCOMPARE(got.size(), 1);
        QVERIFY2(got[0] == expected,
                 qPrintable(QStringLiteral("U+%1").arg(c, 4, 16, QLatin1Char('0'))));
    }
    QCOMPARE(mapped, 255); // 0x98 is the one byte without a character
}

void TestCp1251::encodesCharactersOutsideTheBmpAsOneQuestionMark() {
    const QString text = QStringLiteral("а😀б") + QChar(0xD800) + QStringLiteral("в");
    QCOMPARE(cp1251::encode(text), QByteArray("\xE0?\xE1?\xE2"));
}

void TestCp1251::roundTripsEveryDefinedByte() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x98)
            all.append(char(b));
    QCOMPARE(cp1251::encode(cp1251::decode(all)), all);
    QCOMPARE(cp1251::encode(QStringLiteral("При")), QByteArray("\xCF\xF0\xE8"));
}

QTEST_GUILESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
