// Prints how long reading the backpack page takes for 25 and for 2,500 items, also with every
// block walked (items that can't be put on first), and the time per 1,000 characters, which
// should stay about the same as the page grows. Figures only.
#include "core/backpack.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvix;

namespace {

// `items` blocks; the first `locked` of them can't be put on.
QString page(int items, int locked = 0) {
    QString p = QString::fromUtf8("  <HTML><BODY><B>Рюкзак (масса: 11/40)</B><!--Рюкзак-->\r\n"
                                  "<TABLE><TBODY>");
    for (int k = 1; k <= items; ++k)
        p += QString::fromUtf8(
                 "<TR><!--Шапка--><TD width=80 align=center vAlign=top bgColor=#d8d4d4>"
                 "%2</TD>"
                 "<TD vAlign=top><A href=\"/encicl/object/item%1.html\" target=_blank>Вещь %1</A>"
                 " (масса: 3)<BR><FONT color=#555555>Слот: Шапка</FONT><BR></TD></TR>")
                 .arg(k)
                 .arg(k <= locked ? QString()
                                  : QString::fromUtf8("<A href=\"main.pl?set=item%1&amp;n=%1&amp;"
                                                      "tmp=123\">надеть</A>")
                                        .arg(k));
    return p + QString::fromUtf8("</TBODY></TABLE></BODY></HTML>\r\n");
}

double medianUs(const QString& text, int rounds) {
    std::vector<qint64> ns;
    std::size_t found = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        found += std::size_t(ReadBackpack(text).items.size());
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    if (found == 0)
        std::fprintf(stderr, "nothing read\n");
    return double(ns[ns.size() / 2]) / 1e3;
}

} // namespace

int main() {
    std::printf("backpack reading, median of 101 runs:\n");
    struct Case {
        const char* name;
        int items, locked;
    };
    const Case cases[] = {{"25 items", 25, 0},
                          {"2,500 items", 2500, 0},
                          {"2,475 locked, then 25", 2500, 2475}};
    double base = 0;
    for (const Case& c : cases) {
        const QString text = page(c.items, c.locked);
        const double us = medianUs(text, 101);
        const double perK = us * 1000.0 / double(text.size());
        if (base == 0)
            base = perK;
        std::printf("  %-22s %7lld characters: %9.1f us, %6.3f us per 1,000 characters (%.2fx)\n",
                    c.name, static_cast<long long>(text.size()), us, perK, perK / base);
    }
    return 0;
}
