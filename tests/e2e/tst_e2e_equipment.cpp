#include "actions/backpackpanel.h"
#include "actions/takeoffpanel.h"
#include "app/mainwindow.h"
#include "browser/browser.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "session/accounts.h"

#include "enginetestmain.h"
#include "recordingalerts.h"
#include "tempworkdir.h"
#include "worldprocess.h"

#include <QFile>
#include <QLabel>
#include <QNetworkProxy>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineProfile>

using namespace orvix;

namespace {

const QString kLogin = QStringLiteral("Тестер");

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

// Dressing through the real panels, the real engine and the world's own inventory.
class TestEquipmentSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void putOnListsTheWorldsItems();
    void rowClickPutsTheItemOnAtTheWorld();
    void takeOffFillsTheList();

private:
    // The names the world's backpack offers to put on, in its order, and the heading.
    QStringList worldList(QString* heading = nullptr);
    QStringList panelRows();
    bool listMatchesTheWorld(int timeoutMs = 15000);
    QJsonObject worn() { return m_world.character(kLogin).value(s("worn")).toObject(); }

    WorldProcess m_world;
    std::unique_ptr<TempWorkDir> m_dir;
    Hosts m_hosts;
    RecordingAlerts m_alerts;
    std::unique_ptr<TForm1> m_window;
};

void TestEquipmentSession::initTestCase() {
    QVERIFY(m_world.start());
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, s("127.0.0.1"), m_world.port()));
    m_dir = std::make_unique<TempWorkDir>();
    QFile f(m_dir->file(s("config.ex")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ConfigStore::EncodeFile(cp1251::encode(ConfigList().text())));
    f.close();
    m_window = std::make_unique<TForm1>(QWebEngineProfile::defaultProfile(), m_hosts, &m_alerts);
    m_window->show();
    QSignalSpy loaded(&m_window->WebB(), &Browser::DocumentComplete);
    m_window->accounts().Login(kLogin, s("test123"));
    QVERIFY(loaded.wait(20000));
    QTRY_VERIFY_WITH_TIMEOUT(m_world.isOnline(kLogin), 15000);
}

void TestEquipmentSession::cleanupTestCase() {
    m_window.reset();
    m_dir.reset();
}

QStringList TestEquipmentSession::worldList(QString* heading) {
    const QJsonArray backpack = m_world.character(kLogin).value(s("backpack")).toArray();
    QStringList names;
    int weight = 0;
    for (const auto& v : backpack) {
        const QJsonObject item = v.toObject();
        weight += item.value(s("weight")).toInt();
        if (item.value(s("wearable")).toBool() && names.size() < 25)
            names << item.value(s("name")).toString();
    }
    if (heading)
        *heading = s("Рюкзак: %1/40").arg(weight);
    return names;
}

QStringList TestEquipmentSession::panelRows() {
    QStringList rows;
    BackpackPanel& panel = m_window->backpack();
    for (int k = 1; k <= kBackpackRows; ++k)
        if (!panel.row(k)->isHidden())
            rows << panel.row(k)->text();
    return rows;
}

bool TestEquipmentSession::listMatchesTheWorld(int timeoutMs) {
    return QTest::qWaitFor(
        [&] {
            QString heading;
            const QStringList expected = worldList(&heading);
            return panelRows() == (expected.isEmpty() ? QStringList{s("Пусто..")} : expected) &&
                   m_window->backpack().XPLabel14()->text() == heading;
        },
        timeoutMs);
}

void TestEquipmentSession::putOnListsTheWorldsItems() {
    auto* label = m_window->findChild<QLabel*>(s("XPLabel13"));
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(m_window->backpack().isVisible());
    QString heading;
    const QStringList expected = worldList(&heading);
    QVERIFY(expected.size() >= 3);
    QVERIFY2(listMatchesTheWorld(), qPrintable(panelRows().join(u'|')));
    QCOMPARE(m_window->backpack().height(), 57 + 16 * (int(expected.size()) - 1));
    // The world's shield has "&" in its name; the row shows it as written.
    QVERIFY(panelRows().contains(s("Щит «Рыцарь & Дракон»")));
}

void TestEquipmentSession::rowClickPutsTheItemOnAtTheWorld() {
    const QStringList before = panelRows();
    const QString second = before.value(1);
    const int since = m_world.lastSeq();
    QTest::mouseClick(m_window->backpack().row(2), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QStringList(worn().toVariantMap().keys()).size() > 0 &&
                                 worn().toVariantMap().values().contains(second),
                             15000);
    QVERIFY2(listMatchesTheWorld(), qPrintable(panelRows().join(u'|')));
    QVERIFY(!panelRows().contains(second));
    // The put-on request and the battle page post both reached the world.
    const QJsonArray entries = m_world.waitForRequests(2, since);
    QStringList paths;
    for (const auto& e : entries)
        paths << e.toObject().value(s("path")).toString();
    QVERIFY2(paths.contains(s("/main.pl")) && paths.contains(s("/battle.pl")),
             qPrintable(paths.join(u' ')));
}

void TestEquipmentSession::takeOffFillsTheList() {
    QTest::mouseClick(m_window->findChild<QLabel*>(s("XPLabel5")), Qt::LeftButton);
    QVERIFY(m_window->takeOff().isVisible());
    const QString helmet = worn().value(s("w9")).toString();
    QVERIFY(!helmet.isEmpty());
    QTest::mouseClick(m_window->takeOff().findChild<QPushButton*>(s("XPButton25")),
                      Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!worn().contains(s("w9")), 15000);
    QVERIFY2(listMatchesTheWorld(), qPrintable(panelRows().join(u'|')));
    QVERIFY(panelRows().contains(helmet));

    QTest::mouseClick(m_window->takeOff().findChild<QPushButton*>(s("XPButton36")),
                      Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(worn().isEmpty(), 15000);
    QVERIFY2(listMatchesTheWorld(), qPrintable(panelRows().join(u'|')));
    QVERIFY(m_window->takeOff().isVisible());
}

ORVIX_ENGINE_TEST_MAIN(TestEquipmentSession)
#include "tst_e2e_equipment.moc"
