#include "browser/webenginebrowser.h"
#include "core/diagnosticlog.h"
#include "session/pagecapture.h"

#include "enginetestmain.h"
#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QFile>
#include <QSignalSpy>
#include <QUrl>
#include <QWebEngineProfile>

using namespace orvix;

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Source HTML of the game's era: lower-case tags, bare and quoted values, omitted end tags, a
// table without TBODY, comments, indentation.
const char kSource[] = R"(<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>Рюкзак</title>
<link rel="stylesheet" type="text/css" href="i/main.css">
</head>
<body bgcolor="#EEEEEE" leftmargin=0 topmargin=0>
<!--шапка-->
<table width="100%" border="0" cellspacing="0" cellpadding="0">
 <tr>
  <td valign="TOP"><a href="/encicl/object/helmet2.html" target="_blank"><b>Щит</b></a>
  <td valign=top nowrap><font color="#FF0000">x</font><br>
</table>
<br>
<hr>
<!--Рюкзак-->
<p class="note">Информация о   "A" & B
<p><a href="main.pl?set=1&n=2&tmp=3">надеть</a></font><br>
</body>
</html>
)";

const char kCaptured[] =
    "  <HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
    "<TITLE>Рюкзак</TITLE><LINK rel=stylesheet type=text/css href=\"i/main.css\"></HEAD>\r\n"
    "<BODY bgColor=#eeeeee leftMargin=0 topMargin=0><!--шапка-->\r\n"
    "<TABLE width=\"100%\" border=0 cellSpacing=0 cellPadding=0><TBODY><TR><TD vAlign=top>"
    "<A href=\"/encicl/object/helmet2.html\" target=_blank><B>Щит</B></A> </TD>"
    "<TD vAlign=top noWrap><FONT color=#ff0000>x</FONT><BR> </TD></TR></TBODY></TABLE>"
    "<BR>\r\n<HR><!--Рюкзак-->\r\n<P class=note>Информация о \"A\" &amp; B </P>\r\n"
    "<P><A href=\"main.pl?set=1&amp;n=2&amp;tmp=3\">надеть</A><BR></P></BODY></HTML>\r\n";

} // namespace

class TestPageCapture : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sourcePageCapturesToTheOldForm();
    void framesetKeepsItsFramesOut();
    void emptyBrowserLogsOnceAndLeavesTheText();

private:
    bool load(const QString& name, const QByteArray& html);
    QString capture(bool* called = nullptr);

    std::unique_ptr<TempWorkDir> m_dir;
    RecordingAlerts m_alerts;
    std::unique_ptr<DiagnosticLog> m_log;
    std::unique_ptr<WebEngineBrowser> m_browser;
    PageBuffer m_buffer;
};

void TestPageCapture::init() {
    m_dir = std::make_unique<TempWorkDir>();
    m_log = std::make_unique<DiagnosticLog>(m_alerts);
    m_browser = std::make_unique<WebEngineBrowser>(QWebEngineProfile::defaultProfile(),
                                                   WebEngineBrowser::Visibility::Hidden);
}

void TestPageCapture::cleanup() {
    m_browser.reset();
    m_log.reset();
    m_dir.reset();
}

bool TestPageCapture::load(const QString& name, const QByteArray& html) {
    QFile f(m_dir->file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(html) != html.size())
        return false;
    f.close();
    QSignalSpy done(m_browser.get(), &Browser::DocumentComplete);
    m_browser->Navigate(QString::fromLatin1(QUrl::fromLocalFile(f.fileName()).toEncoded()));
    return done.wait(15000);
}

QString TestPageCapture::capture(bool* called) {
    QString html = s("untouched");
    bool finished = false;
    const qsizetype logged = m_log->lines().size();
    CapturePageHtml(*m_browser, m_buffer, *m_log, [&](const QString& text) {
        html = text;
        finished = true;
    });
    if (!QTest::qWaitFor([&] { return finished || m_log->lines().size() > logged; }, 5000))
        qWarning("the capture never finished");
    if (called)
        *called = finished;
    return html;
}

void TestPageCapture::sourcePageCapturesToTheOldForm() {
    QVERIFY(load(s("page.html"), QByteArray(kSource)));
    const QString html = capture();
    if (html != s(kCaptured))
        qWarning().noquote() << "captured:" << html;
    QCOMPARE(html, s(kCaptured));
    QCOMPARE(m_buffer.text(), html);
    // The markers the backpack reads come out as the features expect them.
    for (const char* marker : {"<!--Рюкзак-->", "</FONT><BR>", "amp", "_blank>", "</A>"})
        QVERIFY2(html.contains(s(marker)), marker);

    // A second capture replaces the first one's text.
    QVERIFY(load(s("other.html"), QByteArray("<p>second")));
    QCOMPARE(capture(), s("  <HTML><HEAD></HEAD>\r\n<BODY><P>second</P></BODY></HTML>\r\n"));
    QCOMPARE(m_buffer.text(), s("  <HTML><HEAD></HEAD>\r\n<BODY><P>second</P></BODY></HTML>\r\n"));
    QVERIFY(m_log->lines().isEmpty());
}

void TestPageCapture::framesetKeepsItsFramesOut() {
    QFile inner(m_dir->file(s("inner.html")));
    QVERIFY(inner.open(QIODevice::WriteOnly));
    inner.write("<p>inside the frame");
    inner.close();
    QVERIFY(load(s("frames.html"), QByteArray("<html><frameset rows=\"*,150\">\n"
                                              "<frame name=\"main\" src=\"inner.html\">\n"
                                              "<frame name=\"online\" src=\"inner.html\">\n"
                                              "</frameset></html>")));
    const QString html = capture();
    QCOMPARE(html, s("  <HTML><HEAD></HEAD><FRAMESET rows=*,150><FRAME name=main "
                     "src=\"inner.html\"><FRAME name=online src=\"inner.html\"></FRAMESET>"
                     "</HTML>\r\n"));
}

void TestPageCapture::emptyBrowserLogsOnceAndLeavesTheText() {
    m_buffer.setText(s("old text"));
    for (int call = 1; call <= 2; ++call) {
        bool called = true;
        QCOMPARE(capture(&called), s("untouched"));
        QVERIFY(!called);
        QCOMPARE(m_buffer.text(), QString());
        QCOMPARE(m_log->lines().size(), call);
        QVERIFY(m_log->lines().last().endsWith(s(" Ошибка - Главный парсер")));
    }
}

ORVIX_ENGINE_TEST_MAIN(TestPageCapture)
#include "tst_pagecapture.moc"
