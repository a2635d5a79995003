#include "core/base64group.h"
#include "core/configstore.h"

#include <QTest>

using namespace orvix;

class TestBase64 : public QObject {
    Q_OBJECT
private slots:
    void encodesGroups_data();
    void encodesGroups();
    void decodesGroups_data();
    void decodesGroups();
    void encodesWholeFiles_data();
    void encodesWholeFiles();
    void decodesFileLines_data();
    void decodesFileLines();
};

void TestBase64::encodesGroups_data() {
    QTest::addColumn<quint32>("word");
    QTest::addColumn<QByteArray>("chars");
    QTest::newRow("three") << quint32(MakeGroupWord('a', 'b', 'c', 3)) << QByteArray("YWJj");
    QTest::newRow("two") << quint32(MakeGroupWord('a', 'b', 0, 2)) << QByteArray("YWI=");
    QTest::newRow("one") << quint32(MakeGroupWord('a', 0, 0, 1)) << QByteArray("YQ==");
    // Bits after the last valid byte are zero, whatever the word carries there.
    QTest::newRow("one, junk after")
        << quint32(MakeGroupWord('a', 0xFF, 0xFF, 1)) << QByteArray("YQ==");
    QTest::newRow("high bytes") << quint32(MakeGroupWord(0xFF, 0xFE, 0xFD, 3))
                                << QByteArray("//79");
    QTest::newRow("zeros") << quint32(MakeGroupWord(0, 0, 0, 3)) << QByteArray("AAAA");
}

void TestBase64::encodesGroups() {
    QFETCH(quint32, word);
    QFETCH(QByteArray, chars);
    const auto got = Base64EncodeGroup(word);
    QCOMPARE(QByteArray(got.data(), 4), chars);
}

void TestBase64::decodesGroups_data() {
    QTest::addColumn<QByteArray>("chars");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("bytes"); // all three, invalid ones included
    QTest::newRow("three") << QByteArray("YWJj") << 3 << QByteArray("abc");
    QTest::newRow("two") << QByteArray("YWI=") << 2 << QByteArray("ab\0", 3);
    QTest::newRow("one") << QByteArray("YQ==") << 1 << QByteArray("a\0\0", 3);
    QTest::newRow("none") << QByteArray("Y===") << 0 << QByteArray("\0\0\0", 3);
    // The bits of the last character that lie after the last valid byte are ignored.
    QTest::newRow("stray low bits") << QByteArray("YR==") << 1 << QByteArray("a\0\0", 3);
    QTest::newRow("pad in the middle") << QByteArray("Y=Q=") << 2 << QByteArray("\0\x04\0", 3);
    QTest::newRow("outside alphabet is 63")
        << QByteArray("?\xC0*!") << 3 << QByteArray("\xFF\xFF\xFF");
    QTest::newRow("short: missing are =") << QByteArray("YQ") << 1 << QByteArray("a\0\0", 3);
    QTest::newRow("single char") << QByteArray("Y") << 0 << QByteArray("\0\0\0", 3);
    QTest::newRow("empty") << QByteArray() << 0 << QByteArray("\0\0\0", 3);
}

void TestBase64::decodesGroups() {
    QFETCH(QByteArray, chars);
    QFETCH(int, count);
    QFETCH(QByteArray, bytes);
    const GroupWord w = Base64DecodeGroup(chars);
    QCOMPARE(GroupCount(w), count);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(char(GroupByte(w, i)), bytes[i]);
}

void TestBase64::encodesWholeFiles_data() {
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("no bytes") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("a") << QByteArray("a") << QByteArray("YQ==\r\n");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("YWJj\r\n");
    QTest::newRow("abcd") << QByteArray("abcd") << QByteArray("YWJjZA==\r\n");
    const QByteArray b54(54, 'a');
    QTest::newRow("54 bytes") << b54 << QByteArray("YWFh").repeated(18) + "\r\n\r\n";
    QTest::newRow("55 bytes") << b54 + "b" << QByteArray("YWFh").repeated(18) + "\r\nYg==\r\n";
    QTest::newRow("cyrillic crlf") << QByteArray("\xCF\xF0\xE8\r\n") << QByteArray("z/DoDQo=\r\n");
}

void TestBase64::encodesWholeFiles() {
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, file);
    QCOMPARE(ConfigStore::EncodeFile(plain), file);
    QCOMPARE(ConfigStore::DecodeFile(file), plain);
    // Every line but the last holds 72 characters, and no group spans two lines.
    const QList<QByteArray> lines = file.split('\n');
    for (qsizetype i = 0; i + 2 < lines.size(); ++i)
        QCOMPARE(lines[i].size(), 73);
}

void TestBase64::decodesFileLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("empty lines ignored")
        << QByteArray("\r\nYQ==\r\n\r\n\r\nYg==\r\n") << QByteArray("ab");
    QTest::newRow("lf only") << QByteArray("YQ==\nYg==\n") << QByteArray("ab");
    QTest::newRow("no final break") << QByteArray("YWJj") << QByteArray("abc");
    QTest::newRow("odd line length pads with =")
        << QByteArray("YWJjYQ\r\nYg\r\n") << QByteArray("abcab");
    QTest::newRow("groups restart on each line") << QByteArray("YW\r\nJj\r\n") << QByteArray("a&");
    QTest::newRow("pad mid-line") << QByteArray("YQ==Yg==") << QByteArray("ab");
    QTest::newRow("nothing") << QByteArray() << QByteArray();
}

void TestBase64::decodesFileLines() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, plain);
    QCOMPARE(ConfigStore::DecodeFile(file), plain);
}

QTEST_GUILESS_MAIN(TestBase64)
#include "tst_base64.moc"
