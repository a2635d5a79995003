#include "actions/phrasespanel.h"
#include "browser/fakebrowser.h"
#include "session/gamenavigation.h"

#include "configfixture.h"
#include "tempworkdir.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace orvix;

namespace {

const QString kBase = QStringLiteral("http://krallcity.tarvo.test/");

// One program run's phrases panel over a fake chat browser, the main browser in a city.
struct Phrases {
    FakeBrowser webB, webChat;
    Hosts hosts;
    GameNavigation nav{webB, hosts};
    Chat chat{webChat, nav};
    ConfigFixture cfg;
    QWidget window;
    QList<Status> failures;
    PhrasesPanel panel{chat, cfg.config, cfg.store,
                       [this](const Status& s) { failures << s; }, &window};

    Phrases() {
        webB.location = kBase + QStringLiteral("main.pl");
        window.resize(602, 500);
        window.show();
    }
    QString lastChat() const {
        return webChat.requests.isEmpty() ? QString() : webChat.requests.last().address;
    }
    void hover(int n) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(panel.phrase(n), &enter);
    }
    void leave(int n) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(panel.phrase(n), &leave);
    }
    void rightClick(int n) {
        const QPoint at(2, 2);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, panel.phrase(n)->mapToGlobal(at));
        QCoreApplication::sendEvent(panel.phrase(n), &menu);
    }
};

int trailingPluses(const QString& address) {
    int n = 0;
    while (n < address.size() && address[address.size() - 1 - n] == u'+')
        ++n;
    return n;
}

} // namespace

class TestPhrases : public QObject {
    Q_OBJECT
private slots:
    void suffixRunsThroughA101MessageCycle();
    void phraseClickSendsItsLine_data();
    void phraseClickSendsItsLine();
    void colourNameSelectsThePhraseColour_data();
    void colourNameSelectsThePhraseColour();
    void editorWritesBackThePhraseItWasOpenedOn();
    void editorWithoutAPickedPhraseWritesNothing();
};

void TestPhrases::suffixRunsThroughA101MessageCycle() {
    Phrases p;
    for (int k = 1; k <= 203; ++k)
        p.chat.SendChat(QStringLiteral("hi"));
    const auto& sent = p.webChat.requests;
    QCOMPARE(sent.size(), 203);
    const QList<QPair<int, int>> expected = {{1, 1},   {2, 2},   {100, 100}, {101, 101},
                                             {102, 1}, {202, 101}, {203, 1}};
    for (const auto& [k, pluses] : expected)
        QCOMPARE(trailingPluses(sent[k - 1].address), pluses);
    for (int k = 1; k < sent.size(); ++k)
        QVERIFY2(sent[k].address != sent[k - 1].address, qPrintable(QString::number(k)));
    QCOMPARE(p.chat.ChatCount(), 1); // the 202nd reset it
    for (const auto& r : sent)
        QVERIFY(r.kind == FakeBrowser::Request::Kind::Navigate && r.frame.isEmpty());
}

void TestPhrases::phraseClickSendsItsLine_data() {
    QTest::addColumn<int>("phrase");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text"); // as it stands after "text=", before the "+"
    const QString sixty = QStringLiteral("0123456789").repeated(6);
    QTest::newRow("cyrillic as typed") << 1 << QStringLiteral("Привет всем!")
                                       << QStringLiteral("Привет всем!")
                                       << QStringLiteral("Привет всем!");
    QTest::newRow("60 characters, 50 sent") << 10 << sixty << sixty.left(50) << sixty.left(50);
    QTest::newRow("structure characters escaped")
        << 4 << QStringLiteral("a&b#c+d=e 100%") << QStringLiteral("a&b#c+d=e 100%")
        << QStringLiteral("a%26b%23c%2Bd%3De 100%25");
    QTest::newRow("empty line") << 7 << QString() << QString() << QString();
}

void TestPhrases::phraseClickSendsItsLine() {
    QFETCH(int, phrase);
    QFETCH(QString, line);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    TempWorkDir dir;
    Phrases p;
    p.cfg.config.setLine(47 + phrase, line);
    p.cfg.config.setLine(58, QStringLiteral("Teal"));
    p.panel.Open();
    QVERIFY(p.panel.isVisible());
    QCOMPARE(p.panel.phrase(phrase)->text(), caption);

    QTest::mouseClick(p.panel.phrase(phrase), Qt::LeftButton);
    QCOMPARE(p.webChat.requests.size(), 1);
    QCOMPARE(p.lastChat(),
             kBase + QStringLiteral("ch.pl?color=Teal&sys=&om=&lid=&text=") + text + u'+');
    QVERIFY(!p.panel.isVisible());
    QVERIFY(p.panel.hiddenFlag());
    p.panel.Open();
    QVERIFY2(p.panel.isVisible(), "one click on the label shows the panel again");
}

void TestPhrases::colourNameSelectsThePhraseColour_data() {
    QTest::addColumn<QStringList>("lines58"); // one LoadPhrases for each
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("sentColour");
    QTest::newRow("Orange") << QStringList{QStringLiteral("Orange")} << QColor(255, 128, 64)
                            << QStringLiteral("Orange");
    QTest::newRow("lower case is no match")
        << QStringList{QStringLiteral("orange")} << QColor(Qt::black) << QStringLiteral("orange");
    QTest::newRow("empty") << QStringList{QString()} << QColor(Qt::black) << QString();
    QTest::newRow("unknown keeps an earlier match")
        << QStringList{QStringLiteral("Chocolate"), QStringLiteral("Pink")} << QColor(128, 64, 64)
        << QStringLiteral("Pink");
    QTest::newRow("last of the table") << QStringList{QStringLiteral("Black"),
                                                      QStringLiteral("Fuchsia")}
                                       << QColor(255, 0, 255) << QStringLiteral("Fuchsia");
}

void TestPhrases::colourNameSelectsThePhraseColour() {
    QFETCH(QStringList, lines58);
    QFETCH(QColor, colour);
    QFETCH(QString, sentColour);
    Phrases p;
    const QColor navy(0, 0, 128);
    QCOMPARE(p.panel.phrase(2)->textColor(), navy);
    for (const QString& line : lines58) {
        p.cfg.config.setLine(58, line);
        p.panel.LoadPhrases();
    }
    QCOMPARE(p.panel.phrase(2)->textColor(), navy); // loading leaves the captions' colours
    p.hover(2);
    QCOMPARE(p.panel.phrase(2)->textColor(), QColor(128, 0, 255));
    p.leave(2);
    QCOMPARE(p.panel.phrase(2)->textColor(), colour);
    QCOMPARE(p.panel.phrase(3)->textColor(), navy);
    p.chat.SendChat(QStringLiteral("x"));
    QCOMPARE(p.lastChat(), kBase + QStringLiteral("ch.pl?color=") + sentColour +
                               QStringLiteral("&sys=&om=&lid=&text=x+"));
}

void TestPhrases::editorWritesBackThePhraseItWasOpenedOn() {
    TempWorkDir dir;
    Phrases p;
    const QString sixty = QStringLiteral("абвгдежзий").repeated(6);
    for (int n = 1; n <= 10; ++n)
        p.cfg.config.setLine(47 + n, QStringLiteral("phrase %1").arg(n));
    p.panel.Open();

    // Right-click phrase 3, wander over phrase 7, press "Готово": phrase 3 changes.
    p.hover(3);
    QCOMPARE(p.panel.EditFr()->text(), QStringLiteral("phrase 3"));
    p.rightClick(3);
    QVERIFY(p.panel.PanFrRed()->isVisible());
    p.hover(7);
    QCOMPARE(p.panel.PhraseEditLine(), 50);
    QCOMPARE(p.panel.EditFr()->text(), QStringLiteral("phrase 3"));
    p.panel.EditFr()->setText(sixty);
    QCOMPARE(p.panel.EditFr()->toolTip(), sixty);
    QTest::mouseClick(p.panel.XPButton43(), Qt::LeftButton);
    QVERIFY(!p.panel.PanFrRed()->isVisible());
    QCOMPARE(p.cfg.config.line(50), sixty.left(50));
    QCOMPARE(p.cfg.config.line(54), QStringLiteral("phrase 7"));
    QCOMPARE(p.panel.phrase(3)->text(), sixty.left(50));
    {
        ConfigFixture reread;
        reread.store.LoadConfiguration();
        QCOMPARE(reread.config.line(50), sixty.left(50));
    }

    // Armed again: Enter on phrase 7 stores the whole text, and hovering shows it whole.
    p.hover(7);
    p.rightClick(7);
    QCOMPARE(p.panel.PhraseEditLine(), 54);
    p.panel.EditFr()->setText(sixty);
    QTest::keyClick(p.panel.EditFr(), Qt::Key_Return);
    QVERIFY(!p.panel.PanFrRed()->isVisible());
    QCOMPARE(p.cfg.config.line(54), sixty);
    QCOMPARE(p.panel.phrase(7)->text(), sixty.left(50));
    p.hover(7);
    QCOMPARE(p.panel.EditFr()->text(), sixty);

    // "X" writes nothing and re-arms the pick.
    p.rightClick(7);
    p.panel.EditFr()->setText(QStringLiteral("thrown away"));
    QTest::mouseClick(p.panel.XPButton42(), Qt::LeftButton);
    QVERIFY(!p.panel.PanFrRed()->isVisible());
    QCOMPARE(p.cfg.config.line(54), sixty);
    p.hover(1);
    QCOMPARE(p.panel.EditFr()->text(), QStringLiteral("phrase 1"));
    QVERIFY(p.failures.isEmpty());
}

void TestPhrases::editorWithoutAPickedPhraseWritesNothing() {
    TempWorkDir dir;
    Phrases p;
    p.cfg.config.setLine(0, QStringLiteral("login"));
    p.cfg.config.setLine(49, QStringLiteral("phrase 2"));
    // The keyboard's context-menu key reaches a phrase without the pointer entering it first.
    p.rightClick(2);
    QCOMPARE(p.panel.PhraseEditLine(), 49);
    p.panel.EditFr()->setText(QStringLiteral("new"));
    QTest::keyClick(p.panel.EditFr(), Qt::Key_Enter);
    QCOMPARE(p.cfg.config.line(49), QStringLiteral("new"));
    QCOMPARE(p.cfg.config.line(0), QStringLiteral("login"));
}

QTEST_MAIN(TestPhrases)
#include "tst_phrases.moc"
