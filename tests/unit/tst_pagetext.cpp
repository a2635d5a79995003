#include "core/domtree.h"
#include "core/pagetext.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvix;

namespace {

using Attrs = QList<std::pair<QString, QString>>;

DomNode el(const char* name, Attrs attrs, QList<DomNode> children = {}) {
    DomNode n;
    n.name = QString::fromUtf8(name);
    n.attributes = std::move(attrs);
    n.children = std::move(children);
    return n;
}
DomNode el(const char* name, QList<DomNode> children = {}) {
    return el(name, Attrs{}, std::move(children));
}
DomNode tx(const QString& text) {
    DomNode n;
    n.kind = DomNode::Kind::Text;
    n.text = text;
    return n;
}
DomNode cm(const QString& text) {
    DomNode n;
    n.kind = DomNode::Kind::Comment;
    n.text = text;
    return n;
}
std::pair<QString, QString> at(const char* name, const QString& value) {
    return {QString::fromUtf8(name), value};
}
QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The document's worked example as Chromium parses it inside BODY.
DomNode workedExample() {
    return el("BODY",
              {el("TABLE",
                  {at("width", s("100%")), at("border", s("0")), at("cellspacing", s("0")),
                   at("cellpadding", s("0"))},
                  {tx(s("\n ")),
                   el("TBODY",
                      {el("TR",
                          {tx(s("\n  ")),
                           el("TD", {at("valign", s("TOP"))},
                              {el("A",
                                  {at("href", s("/encicl/object/?id=1&p=2")),
                                   at("target", s("_blank"))},
                                  {el("B", {tx(s("Щит"))})})}),
                           tx(s("\n  ")),
                           el("TD", {at("valign", s("top")), at("nowrap", QString())},
                              {el("FONT", {at("color", s("#FF0000"))}, {tx(s("x"))}), el("BR")}),
                           tx(s("\n "))}),
                       tx(s("\n"))})}),
               tx(s("\n")), el("BR"), tx(s("\n")), el("HR"), tx(s("\n")), cm(s("шлем")),
               tx(s("\n")), el("P", {at("class", s("note"))}, {tx(s("Информация о   \"A\" & B\n"))}),
               el("P", {tx(s("end"))})});
}

} // namespace

Q_DECLARE_METATYPE(DomNode)

class TestPageText : public QObject {
    Q_OBJECT
private slots:
    void writesTheOldForm_data();
    void writesTheOldForm();
    void capturedTextKeepsOnlyHtmlElements();
    void engineSerialisationReadsBackToTheSameText();
    void hostileSerialisationsNeverCrash();
    void deepTreesNeitherCrashNorRecurse();
};

void TestPageText::writesTheOldForm_data() {
    QTest::addColumn<DomNode>("tree");
    QTest::addColumn<QString>("text");

    QTest::newRow("worked example")
        << workedExample()
        << s("<BODY><TABLE width=\"100%\" border=0 cellSpacing=0 cellPadding=0><TBODY><TR><TD "
             "vAlign=top><A href=\"/encicl/object/?id=1&amp;p=2\" "
             "target=_blank><B>Щит</B></A></TD><TD vAlign=top noWrap><FONT "
             "color=#ff0000>x</FONT><BR></TD></TR></TBODY></TABLE><BR>\r\n<HR><!--шлем-->\r\n<P "
             "class=note>Информация о \"A\" &amp; B </P>\r\n<P>end</P></BODY>");
    QTest::newRow("head and body")
        << el("HTML", {el("HEAD", {el("TITLE", {tx(s("Информация о Вася"))}),
                                   el("LINK", {at("rel", s("stylesheet")), at("type", s("text/css")),
                                               at("href", s("i/main.css"))})}),
                       tx(s("\n")), el("BODY", {at("bgcolor", s("#EEEEEE"))}, {tx(s("x"))})})
        << s("<HTML><HEAD><TITLE>Информация о Вася</TITLE><LINK rel=stylesheet type=text/css "
             "href=\"i/main.css\"></HEAD>\r\n<BODY bgColor=#eeeeee>x</BODY></HTML>");
    QTest::newRow("frameset")
        << el("FRAMESET", {at("rows", s("*,150"))},
              {tx(s("\n")), el("FRAME", {at("name", s("main")), at("src", s("main.pl"))}),
               el("FRAME", {at("name", s("online")), at("src", s("ch.pl?online=1&n=&"))})})
        << s("<FRAMESET rows=*,150><FRAME name=main src=\"main.pl\"><FRAME name=online "
             "src=\"ch.pl?online=1&amp;n=&amp;\"></FRAMESET>");
    QTest::newRow("attribute quoting")
        << el("IMG", {at("alt", QString()), at("title", s("a\"b'c")), at("name", s("a&b")),
                      at("onclick", s("go()")), at("style", s("color:red")), at("data-x", s("1")),
                      at("align", s("CENTER")), at("width", s("50")), at("http-equiv", s("x"))})
        << s("<IMG alt=\"\" title=\"a&quot;b'c\" name=a&amp;b onclick=\"go()\" style=\"color:red\" "
             "data-x=\"1\" align=center width=50 http-equiv=x>");
    QTest::newRow("text escapes")
        << el("P", {tx(s("a < b > c & d\u00a0e \"q\""))})
        << s("<P>a &lt; b &gt; c &amp; d&nbsp;e \"q\"</P>");
    QTest::newRow("script raw, pre kept")
        << el("DIV", {el("SCRIPT", {tx(s("if (a<b && c) {}\n  x"))}),
                      el("PRE", {tx(s("  a  <\n b"))})})
        << s("<DIV><SCRIPT>if (a<b && c) {}\n  x</SCRIPT>\r\n<PRE>  a  &lt;\n b</PRE></DIV>");
    QTest::newRow("inline white space stays")
        << el("P", {el("B", {tx(s("a"))}), tx(s(" \n ")), el("I", {tx(s("b"))})})
        << s("<P><B>a</B> <I>b</I></P>");
    QTest::newRow("lists lose inner end tags")
        << el("UL", {tx(s("\n")), el("LI", {tx(s("a"))}), tx(s("\n")), el("LI", {tx(s("b"))})})
        << s("<UL><LI>a\r\n<LI>b</LI></UL>");
    QTest::newRow("no break as first child or in a table")
        << el("TD", {el("DIV", {tx(s("a"))}), el("TABLE", {el("TBODY", {el("TR")})})})
        << s("<TD><DIV>a</DIV>\r\n<TABLE><TBODY><TR></TR></TBODY></TABLE></TD>");
}

void TestPageText::writesTheOldForm() {
    QFETCH(DomNode, tree);
    QFETCH(QString, text);
    const auto built = DomTree::fromNodes(tree);
    QCOMPARE(OldOuterHtml(*built, 0), text);
}

void TestPageText::capturedTextKeepsOnlyHtmlElements() {
    const DomNode page = el("HTML", {el("HEAD"), el("BODY", {tx(s("x"))})});
    QCOMPARE(CapturedPageText(*DomTree::fromNodes(page)),
             s("  <HTML><HEAD></HEAD>\r\n<BODY>x</BODY></HTML>\r\n"));
    // The comparison is exact: an XML document's lower-case root is not kept.
    QCOMPARE(CapturedPageText(*DomTree::fromNodes(el("html", {el("body")}))), QString());
    // Every element is visited: a second HTML element inside gets its own entry.
    const DomNode nested = el("HTML", {el("BODY", {el("HTML")})});
    QCOMPARE(CapturedPageText(*DomTree::fromNodes(nested)),
             s("  <HTML><BODY><HTML></HTML></BODY></HTML>\r\n  <HTML></HTML>\r\n"));
}

void TestPageText::engineSerialisationReadsBackToTheSameText() {
    // The worked example as the engine serialises it: lower case, every value quoted, escapes.
    const QString outer =
        s("<body><table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n "
          "<tbody><tr>\n  <td valign=\"TOP\"><a href=\"/encicl/object/?id=1&amp;p=2\" "
          "target=\"_blank\"><b>Щит</b></a></td>\n  <td valign=\"top\" nowrap=\"\"><font "
          "color=\"#FF0000\">x</font><br></td>\n </tr>\n</tbody></table>\n<br>\n<hr>\n"
          "<!--шлем-->\n<p class=\"note\">Информация о   \"A\" &amp; B\n</p><p>end</p></body>");
    const auto parsed = ParseSerializedHtml(s("BODY"), outer);
    QVERIFY(parsed);
    QCOMPARE(OldOuterHtml(*parsed, 0), OldOuterHtml(*DomTree::fromNodes(workedExample()), 0));

    // Raw text runs to its own end tag; attribute quotes of either kind; a title with "&quot;".
    const auto raw = ParseSerializedHtml(
        s("HTML"), s("<html><head><script>if (a<b && c) { x = '</p>'; }</script>"
                     "<style>a>b{}</style></head><body title=\"a&quot;b\" id='x y'>"
                     "<textarea>  a &lt; b</textarea></body></html>"));
    QVERIFY(raw);
    QCOMPARE(CapturedPageText(*raw),
             s("  <HTML><HEAD><SCRIPT>if (a<b && c) { x = '</p>'; }</SCRIPT><STYLE>a>b{}</STYLE>"
               "</HEAD>\r\n<BODY title=\"a&quot;b\" id=\"x y\"><TEXTAREA>  a &lt; b</TEXTAREA>"
               "</BODY></HTML>\r\n"));
}

void TestPageText::hostileSerialisationsNeverCrash() {
    QString outer = s("<html><body><table><tbody><tr><td><a href=\"x?a=1&amp;b=2\">ссылка</a>"
                      "<!--c--><script>x</script><br></td></tr></tbody></table></body></html>");
    QVERIFY(ParseSerializedHtml(s("HTML"), outer));
    QCOMPARE(ParseSerializedHtml(s("HTML"), QString()), nullptr);
    // Every truncation, stray end tags, unterminated tags, comments and quotes.
    for (qsizetype n = 1; n <= outer.size(); ++n)
        if (const auto t = ParseSerializedHtml(s("HTML"), outer.left(n)))
            (void)CapturedPageText(*t);
    for (const char* junk : {"</p></p><p>", "<a href=\"x", "<!--", "<script>no end", "<<<>>>",
                             "<a b=c d='e' f>", "</>", "<!doctype html><html>", "<1>"})
        if (const auto t = ParseSerializedHtml(s("HTML"), s(junk)))
            (void)CapturedPageText(*t);
    QRandomGenerator rng(20261211);
    const QString alphabet = s("<>/!-\"'= abHTML&;");
    for (int round = 0; round < 20000; ++round) {
        QString junk = outer;
        for (int k = 0; k < 4; ++k)
            junk[rng.bounded(junk.size())] = alphabet[rng.bounded(alphabet.size())];
        if (const auto t = ParseSerializedHtml(s("HTML"), junk))
            QVERIFY(CapturedPageText(*t).size() <= 4 * junk.size() + 16);
    }
}

void TestPageText::deepTreesNeitherCrashNorRecurse() {
    const int depth = 100000;
    const QString outer = s("<html>") + s("<div>").repeated(depth) + s("</div>").repeated(depth) +
                          s("</html>");
    const auto tree = ParseSerializedHtml(s("HTML"), outer);
    QVERIFY(tree);
    const QString text = OldOuterHtml(*tree, 0);
    QVERIFY(text.startsWith(s("<HTML><DIV><DIV>")));
    QVERIFY(text.endsWith(s("</DIV></DIV></HTML>")));
    // Nesting stops deepening at the limit; nothing is lost.
    QCOMPARE(text.count(s("<DIV>")), depth);
    QCOMPARE(text.count(s("</DIV>")), depth);
}

QTEST_APPLESS_MAIN(TestPageText)
#include "tst_pagetext.moc"
