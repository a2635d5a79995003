#include "core/diagnosticlog.h"

#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QFile>
#include <QTest>

using namespace orvix;

namespace {

const QString kBroken = QStringLiteral("BugRep-is сломан! ... падла!");

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDiagnosticLog : public QObject {
    Q_OBJECT
private slots:
    void longTimeFormatHasNoZone_data();
    void longTimeFormatHasNoZone();
    void writesEveryLineInCodePageWithCrLf();
    void unwritableFileShowsTheBoxAndKeepsLines();
    void followsTheCurrentDirectory();
    void removesThePreviousRunsFile();
};

void TestDiagnosticLog::longTimeFormatHasNoZone_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text"); // for 14:03:27
    QTest::newRow("C") << QLocale::c() << QStringLiteral("14:03:27");
    QTest::newRow("ru_RU") << QLocale(QLocale::Russian, QLocale::Russia)
                           << QStringLiteral("14:03:27");
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                           << QStringLiteral("14:03:27");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QStringLiteral("2:03:27 PM");
}

void TestDiagnosticLog::longTimeFormatHasNoZone() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(locale.toString(QTime(14, 3, 27), DiagnosticLog::longTimeFormat(locale)), text);
}

void TestDiagnosticLog::writesEveryLineInCodePageWithCrLf() {
    TempWorkDir dir;
    RecordingAlerts alerts;
    DiagnosticLog log(
        alerts, [] { return QTime(14, 3, 27); }, QLocale::c());
    log.LogError(QStringLiteral("Ошибка - Главный парсер"));
    log.LogError(QStringLiteral("I/O - config.ex"));
    QCOMPARE(log.lines(), (QStringList{QStringLiteral("14:03:27 Ошибка - Главный парсер"),
                                       QStringLiteral("14:03:27 I/O - config.ex")}));
    QCOMPARE(readFile(dir.file(QStringLiteral("BugsReport.txt"))),
             QByteArray("14:03:27 \xCE\xF8\xE8\xE1\xEA\xE0 - \xC3\xEB\xE0\xE2\xED\xFB\xE9 "
                        "\xEF\xE0\xF0\xF1\xE5\xF0\r\n14:03:27 I/O - config.ex\r\n"));
    QVERIFY(alerts.messages.isEmpty());
}

void TestDiagnosticLog::unwritableFileShowsTheBoxAndKeepsLines() {
    TempWorkDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("BugsReport.txt")));
    RecordingAlerts alerts;
    DiagnosticLog log(
        alerts, [] { return QTime(9, 0, 1); }, QLocale::c());
    log.LogError(QStringLiteral("one"));
    log.LogError(QStringLiteral("two"));
    QCOMPARE(alerts.messages, (QStringList{kBroken, kBroken}));
    QCOMPARE(log.lines().size(), 2);

    // Once the file can be written, it catches up with every line of the run.
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("BugsReport.txt")));
    log.LogError(QStringLiteral("three"));
    QCOMPARE(alerts.messages.size(), 2);
    QCOMPARE(readFile(dir.file(QStringLiteral("BugsReport.txt"))),
             QByteArray("09:00:01 one\r\n09:00:01 two\r\n09:00:01 three\r\n"));
}

void TestDiagnosticLog::followsTheCurrentDirectory() {
    TempWorkDir first;
    RecordingAlerts alerts;
    DiagnosticLog log(
        alerts, [] { return QTime(1, 2, 3); }, QLocale::c());
    log.LogError(QStringLiteral("here"));
    QVERIFY(QFile::exists(first.file(QStringLiteral("BugsReport.txt"))));
    {
        TempWorkDir second;
        log.LogError(QStringLiteral("there"));
        QCOMPARE(readFile(second.file(QStringLiteral("BugsReport.txt"))),
                 QByteArray("01:02:03 here\r\n01:02:03 there\r\n"));
    }
}

void TestDiagnosticLog::removesThePreviousRunsFile() {
    TempWorkDir dir;
    const QString path = dir.file(QStringLiteral("BugsReport.txt"));
    QVERIFY(DiagnosticLog::RemoveOldFile()); // none there is no error
    QFile(path).open(QIODevice::WriteOnly);
    QVERIFY(QFile::exists(path));
    QVERIFY(DiagnosticLog::RemoveOldFile());
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("BugsReport.txt")));
    QVERIFY(!DiagnosticLog::RemoveOldFile());
}

QTEST_GUILESS_MAIN(TestDiagnosticLog)
#include "tst_diagnosticlog.moc"
