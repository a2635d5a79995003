#include "core/configlist.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "core/diagnosticlog.h"

#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/resource.h>
#endif

using namespace orvix;

namespace {

// One program's worth of configuration plumbing.
struct Store {
    RecordingAlerts alerts;
    DiagnosticLog log{alerts};
    ConfigList list;
    ConfigStore store{list, log, alerts};
};

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A list text in the code page's repertoire: Cyrillic, empty lines, long lines.
QString randomListText(QRandomGenerator& rng) {
    static const QString alphabet = QStringLiteral("abcXYZ019 =+/&%#\"'<>АБВЯабвяЁё№€—«»\t");
    QStringList lines;
    const int count = rng.bounded(0, 140);
    for (int i = 0; i < count; ++i) {
        const int kind = rng.bounded(10);
        const int len = kind == 0 ? 0 : kind == 1 ? rng.bounded(4000, 9000) : rng.bounded(1, 80);
        QString line;
        for (int k = 0; k < len; ++k)
            line += alphabet[rng.bounded(int(alphabet.size()))];
        lines << line;
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

class TestConfigStore : public QObject {
    Q_OBJECT
private slots:
    void savesTheListInTheFileFormat();
    void roundTripsRandomLists();
    void firstRunWarnsOnceAndKeepsTheLayout();
    void hostileFilesLoadToADefinedList_data();
    void hostileFilesLoadToADefinedList();
    void randomAndHugeFilesLoadWithoutHarm();
    void failedLoadKeepsTheListAndTheTempFile();
    void failedSaveKeepsThePreviousFile();
    void saveThatFailsHalfWayKeepsThePreviousFile();
    void filesAreForTheOwnerOnly();
    void reentrantCallsWaitTheirTurn();
};

void TestConfigStore::savesTheListInTheFileFormat() {
    TempWorkDir dir;
    Store s;
    s.list.setLine(0, QStringLiteral("Вася"));
    s.list.setLine(1, QStringLiteral("пароль"));
    s.list.setLine(62, QStringLiteral("ok"));
    QVERIFY(s.store.SaveConfiguration().ok());

    const QByteArray plain = cp1251::encode(s.list.text());
    QCOMPARE(readFile(dir.file(QStringLiteral("config.ex"))), ConfigStore::EncodeFile(plain));
    QCOMPARE(ConfigStore::DecodeFile(readFile(dir.file(QStringLiteral("config.ex")))), plain);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("config.temp"))));
    QVERIFY(s.alerts.warnings.isEmpty());
}

void TestConfigStore::roundTripsRandomLists() {
    TempWorkDir dir;
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    for (int round = 0; round < 40; ++round) {
        Store saver;
        saver.list.setText(randomListText(rng));
        QVERIFY(saver.store.SaveConfiguration().ok());
        Store loader;
        loader.store.LoadConfiguration();
        QVERIFY2(loader.list.text() == saver.list.text(),
                 qPrintable(QStringLiteral("seed %1, round %2").arg(seed).arg(round)));
        QVERIFY(loader.alerts.warnings.isEmpty());
    }
}

void TestConfigStore::firstRunWarnsOnceAndKeepsTheLayout() {
    TempWorkDir dir;
    Store s;
    s.store.LoadConfiguration();
    QCOMPARE(s.alerts.warnings, QStringList{QStringLiteral("I/O - config.ex")});
    QCOMPARE(s.log.lines().size(), 1);
    QVERIFY(s.log.lines()[0].endsWith(QStringLiteral(" I/O - config.ex")));
    QVERIFY(readFile(dir.file(QStringLiteral("BugsReport.txt"))).endsWith(" I/O - config.ex\r\n"));

    // Settings and later phrases written on a first run are stored and come back.
    s.list.setLine(57, QStringLiteral("десятая фраза"));
    s.list.setLine(67, QStringLiteral("3"));
    QVERIFY(s.store.SaveConfiguration().ok());
    Store next;
    next.store.LoadConfiguration();
    QCOMPARE(next.list.line(57), QStringLiteral("десятая фраза"));
    QCOMPARE(next.list.line(67), QStringLiteral("3"));
}

void TestConfigStore::hostileFilesLoadToADefinedList_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("line0");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty file") << QByteArray() << QString() << 68;
    QTest::newRow("only breaks") << QByteArray("\r\n\n\r\r\n") << QString() << 68;
    QTest::newRow("invalid characters") << QByteArray("****") << QStringLiteral("яяя") << 68;
    QTest::newRow("odd line lengths")
        << QByteArray("YWJjYQ\r\nYg\r\nY\r\n") << QStringLiteral("abcab") << 68;
    QTest::newRow("lone cr and lf in plain")
        << ConfigStore::EncodeFile("a\rb\nc") << QStringLiteral("a") << 68;
    QTest::newRow("nul bytes") << ConfigStore::EncodeFile(QByteArray("x\0y", 3))
                               << QString::fromUtf16(u"x\0y", 3) << 68;
    QTest::newRow("0x98 byte") << ConfigStore::EncodeFile("\x98") << QString(QChar(0xFFFD)) << 68;
    QTest::newRow("many lines") << ConfigStore::EncodeFile(QByteArray("\r\n").repeated(1000))
                                << QString() << 1001;
}

void TestConfigStore::hostileFilesLoadToADefinedList() {
    QFETCH(QByteArray, file);
    QFETCH(QString, line0);
    QFETCH(int, lines);
    TempWorkDir dir;
    writeFile(dir.file(QStringLiteral("config.ex")), file);
    Store s;
    s.store.LoadConfiguration();
    QVERIFY(s.alerts.warnings.isEmpty());
    QCOMPARE(s.list.line(0), line0);
    QCOMPARE(s.list.lineCount(), lines);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("config.temp"))));
}

void TestConfigStore::randomAndHugeFilesLoadWithoutHarm() {
    TempWorkDir dir;
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator rng(seed);
    const QByteArray chunk = QByteArray("QUJD\r\n0J/RgNC4\r\n").repeated(8) + "=a==\r\n";
    for (int size : {1, 7, 300, 4096, 10 * 1024 * 1024}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& b : bytes)
            b = char(rng.bounded(256));
        if (size > 4096) // mostly alphabet text, as a damaged real file would be
            for (qsizetype i = 0; i + chunk.size() < bytes.size(); i += 2 * chunk.size())
                bytes.replace(i, chunk.size(), chunk);
        writeFile(dir.file(QStringLiteral("config.ex")), bytes);
        Store first, second;
        first.store.LoadConfiguration();
        second.store.LoadConfiguration();
        const QString context = QStringLiteral("seed %1, size %2").arg(seed).arg(size);
        QVERIFY2(first.alerts.warnings.isEmpty(), qPrintable(context));
        QVERIFY2(first.list.lineCount() >= 68, qPrintable(context));
        QVERIFY2(first.list.text() == second.list.text(), qPrintable(context));
        // Whatever came in can be stored again; only the byte 0x98, which has no character,
        // comes back as "?".
        QVERIFY(first.store.SaveConfiguration().ok());
        Store again;
        again.store.LoadConfiguration();
        QString expected = first.list.text();
        expected.replace(QChar(0xFFFD), QLatin1Char('?'));
        QVERIFY2(again.list.text() == expected, qPrintable(context));
    }
}

void TestConfigStore::failedLoadKeepsTheListAndTheTempFile() {
    TempWorkDir dir;
    writeFile(dir.file(QStringLiteral("config.ex")), "YWJj\r\n");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.temp"))); // the plain copy can't be made
    Store s;
    s.list.setLine(5, QStringLiteral("kept"));
    s.store.LoadConfiguration();
    QCOMPARE(s.alerts.warnings, QStringList{QStringLiteral("I/O - config.ex")});
    QCOMPARE(s.list.line(5), QStringLiteral("kept"));
    QCOMPARE(s.list.lineCount(), 68);
    QVERIFY(QFileInfo(dir.file(QStringLiteral("config.temp"))).isDir());
}

void TestConfigStore::failedSaveKeepsThePreviousFile() {
    TempWorkDir dir;
    Store s;
    s.list.setLine(0, QStringLiteral("old"));
    QVERIFY(s.store.SaveConfiguration().ok());
    const QByteArray before = readFile(dir.file(QStringLiteral("config.ex")));

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.temp")));
    s.list.setLine(0, QStringLiteral("new"));
    const Status status = s.store.SaveConfiguration();
    QVERIFY(!status.ok());
    QVERIFY2(status.message().contains(QStringLiteral("config.temp")),
             qPrintable(status.message()));
    QCOMPARE(readFile(dir.file(QStringLiteral("config.ex"))), before);
}

void TestConfigStore::saveThatFailsHalfWayKeepsThePreviousFile() {
#if defined(Q_OS_LINUX)
    TempWorkDir dir;
    Store s;
    s.list.setLine(0, QStringLiteral("Вася"));
    s.list.setLine(1, QStringLiteral("секрет"));
    QVERIFY(s.store.SaveConfiguration().ok());
    const QByteArray before = readFile(dir.file(QStringLiteral("config.ex")));

    // 100 KB of plain text fits under the limit; its 136 KB of Base64 does not.
    s.list.setLine(20, QString(100000, QLatin1Char('x')));
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 120000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status status = s.store.SaveConfiguration();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!status.ok());
    QCOMPARE(readFile(dir.file(QStringLiteral("config.ex"))), before);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("config.temp"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("config.ex")});
    Store loader;
    loader.store.LoadConfiguration();
    QVERIFY(loader.alerts.warnings.isEmpty());
    QCOMPARE(loader.list.line(1), QStringLiteral("секрет"));
#else
    QSKIP("needs a per-process file size limit");
#endif
}

void TestConfigStore::filesAreForTheOwnerOnly() {
#if defined(Q_OS_UNIX)
    TempWorkDir dir;
    Store s;
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto mask = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                      QFileDevice::WriteOther | QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFileDevice::Permissions tempSeen;
    s.store.setEventPump(
        [&] { tempSeen = QFile::permissions(dir.file(QStringLiteral("config.temp"))); });
    QVERIFY(s.store.SaveConfiguration().ok());
    QCOMPARE(tempSeen & mask, ownerOnly);
    QCOMPARE(QFile::permissions(dir.file(QStringLiteral("config.ex"))) & mask, ownerOnly);

    // An existing config.ex open to others is tightened on the next save.
    QVERIFY(QFile::setPermissions(dir.file(QStringLiteral("config.ex")), mask));
    QVERIFY(s.store.SaveConfiguration().ok());
    QCOMPARE(QFile::permissions(dir.file(QStringLiteral("config.ex"))) & mask, ownerOnly);
#else
    QSKIP("no file modes on this platform");
#endif
}

void TestConfigStore::reentrantCallsWaitTheirTurn() {
    TempWorkDir dir;
    Store s;
    int pumps = 0;
    // A handler running during the save's message step changes a line and saves again.
    s.store.setEventPump([&] {
        if (++pumps == 1) {
            s.list.setLine(3, QStringLiteral("changed meanwhile"));
            QVERIFY(s.store.SaveConfiguration().ok());
            s.store.LoadConfiguration();
        }
    });
    s.list.setLine(2, QStringLiteral("first"));
    QVERIFY(s.store.SaveConfiguration().ok());
    QCOMPARE(pumps, 3); // the outer save, then the inner save and load in order
    QVERIFY(s.alerts.warnings.isEmpty());
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("config.temp"))));

    Store check;
    check.store.LoadConfiguration();
    QCOMPARE(check.list.line(2), QStringLiteral("first"));
    QCOMPARE(check.list.line(3), QStringLiteral("changed meanwhile"));

    // A save started during a load's message step must not delete the load's plain copy.
    Store loading;
    loading.store.setEventPump([&] {
        loading.list.setLine(4, QStringLiteral("typed during load"));
        (void)loading.store.SaveConfiguration();
        loading.store.setEventPump({});
    });
    loading.store.LoadConfiguration();
    QVERIFY(loading.alerts.warnings.isEmpty());
    QCOMPARE(loading.list.line(3), QStringLiteral("changed meanwhile"));
}

QTEST_GUILESS_MAIN(TestConfigStore)
#include "tst_configstore.moc"
