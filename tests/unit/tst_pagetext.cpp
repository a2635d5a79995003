#include "core/domsnapshot.h"
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

// The flat form the page script writes, built from a tree.
void snapshotOf(const DomNode& n, QString& out) {
    const auto str = [&](const QString& v) { out += QString::number(v.size()) + u':' + v; };
    switch (n.kind) {
    case DomNode::Kind::Text: out += u'T'; str(n.text); return;
    case DomNode::Kind::Comment: out += u'C'; str(n.text); return;
    case DomNode::Kind::Element:
        out += u'E';
        str(n.name);
        out += QString::number(n.attributes.size()) + u',';
        for (const auto& [k, v] : n.attributes) {
            str(k);
            str(v);
        }
        for (const DomNode& c : n.children)
            snapshotOf(c, out);
        out += u'/';
    }
}

} // namespace

Q_DECLARE_METATYPE(DomNode)

class TestPageText : public QObject {
    Q_OBJECT
private slots:
    void writesTheOldForm_data();
    void writesTheOldForm();
    void capturedTextKeepsOnlyHtmlElements();
    void snapshotDecodesToTheSameTree();
    void brokenSnapshotsAreRefused();
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
    QCOMPARE(OldOuterHtml(tree), text);
}

void TestPageText::capturedTextKeepsOnlyHtmlElements() {
    const DomNode page = el("HTML", {el("HEAD"), el("BODY", {tx(s("x"))})});
    QCOMPARE(CapturedPageText(page), s("  <HTML><HEAD></HEAD>\r\n<BODY>x</BODY></HTML>\r\n"));
    // The comparison is exact: an XML document's lower-case root is not kept.
    QCOMPARE(CapturedPageText(el("html", {el("body")})), QString());
    // Every element is visited: a second HTML element inside gets its own entry.
    const DomNode nested = el("HTML", {el("BODY", {el("HTML")})});
    QCOMPARE(CapturedPageText(nested),
             s("  <HTML><BODY><HTML></HTML></BODY></HTML>\r\n  <HTML></HTML>\r\n"));
}

void TestPageText::snapshotDecodesToTheSameTree() {
    DomNode page = el("HTML", {el("BODY", {workedExample()})});
    page.children[0].children[0].attributes.append(at("title", s("1:2,E/T")));
    page.children[0].children.append(tx(s("3:abc/E")));
    QString flat;
    snapshotOf(page, flat);
    const auto decoded = DecodeDomSnapshot(flat);
    QVERIFY(decoded);
    QCOMPARE(OldOuterHtml(*decoded), OldOuterHtml(page));
    QVERIFY(OldOuterHtml(page).contains(s("title=1:2,E/T")));
}

void TestPageText::brokenSnapshotsAreRefused() {
    QString flat;
    snapshotOf(el("HTML", {el("BODY", {at("a", s("b"))}, {tx(s("text")), cm(s("c"))})}), flat);
    QVERIFY(DecodeDomSnapshot(flat));
    // Every truncation is refused, never read past its end.
    for (qsizetype n = 0; n < flat.size(); ++n)
        QVERIFY2(!DecodeDomSnapshot(QStringView(flat).left(n)), qPrintable(flat.left(n)));
    const QStringList broken = {s("T1:x"), s("E4:HTML0,/E4:BODY0,/"), s("E4:HTML0,//"),
                                s("E4:HTML1,1:a/"), s("E99999999999:HTML0,/"),
                                s("E4:HTML0,X/"), s("E4:HTML-1,/"), s("E4:HTML0,T9:x/")};
    for (const QString& b : broken)
        QVERIFY2(!DecodeDomSnapshot(b), qPrintable(b));
    // Random bytes: whatever comes back, the decoder returns.
    QRandomGenerator rng(20261211);
    const QString alphabet = s("ETC/:,0123456789ab");
    for (int round = 0; round < 20000; ++round) {
        QString junk = flat;
        for (int k = 0; k < 3; ++k)
            junk[rng.bounded(junk.size())] = alphabet[rng.bounded(alphabet.size())];
        if (const auto tree = DecodeDomSnapshot(junk))
            (void)CapturedPageText(*tree);
    }
}

void TestPageText::deepTreesNeitherCrashNorRecurse() {
    const int depth = kMaxSnapshotDepth;
    QString flat = s("E4:HTML0,");
    for (int i = 0; i < depth - 1; ++i)
        flat += s("E3:DIV0,");
    flat += QString(depth, u'/');
    const auto tree = DecodeDomSnapshot(flat);
    QVERIFY(tree);
    const QString text = OldOuterHtml(*tree);
    QVERIFY(text.startsWith(s("<HTML><DIV><DIV>")));
    QVERIFY(text.endsWith(s("</DIV></DIV></HTML>")));
    QCOMPARE(text.count(s("<DIV>")), depth - 1);
    // One level more is refused.
    QVERIFY(!DecodeDomSnapshot(s("E3:DIV0,") + flat + u'/'));
}

QTEST_APPLESS_MAIN(TestPageText)
#include "tst_pagetext.moc"
