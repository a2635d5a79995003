#include "core/backpack.h"

#include "core/textpos.h"

namespace orvix {

using namespace Qt::StringLiterals;
using namespace textpos;

namespace {

constexpr QStringView kBackpack = u"<!--Рюкзак-->";
constexpr QStringView kWeight = u"Рюкзак (масса:";
constexpr QStringView kBoldEnd = u"</B>";
constexpr QStringView kPutOn = u"надеть";
constexpr QStringView kBlockEnd = u"</FONT><BR>";
constexpr QStringView kAmp = u"amp";
constexpr QStringView kNumber = u"n=";
constexpr QStringView kLink = u"<A href=\"/encicl/object/";
constexpr QStringView kHtml = u".html";
constexpr QStringView kName = u"_blank>";
constexpr QStringView kLinkEnd = u"</A>";

} // namespace

BackpackReading ReadBackpack(QStringView t) {
    BackpackReading reading;
    if (Pos(kBackpack, t) == 0)
        return reading;
    reading.isBackpackPage = true;

    t = DropFront(t, Pos(kWeight, t) + kWeight.size());
    reading.weight = Copy(t, 1, Pos(kBoldEnd, t) - 2).toString();
    t = DropFront(t, Pos(kBackpack, t) + kBackpack.size());

    // Where the next "надеть" lies in the original text, so blocks without one don't make the
    // loop search the rest of the page again each time.
    const QChar* const base = t.data();
    const qsizetype total = t.size();
    const QStringView whole(base, total);
    qsizetype nextPutOn = whole.indexOf(kPutOn);
    const auto offset = [&] { return qsizetype(t.data() - base); };

    while (reading.items.size() < kBackpackRows) {
        if (nextPutOn >= 0 && nextPutOn < offset())
            nextPutOn = whole.indexOf(kPutOn, offset());
        if (nextPutOn < 0)
            break;
        const qsizetype q = Pos(kBlockEnd, t);
        if (q == 0)
            break;
        QStringView b = Copy(t, 1, q);
        const bool holdsPutOn = nextPutOn - offset() + kPutOn.size() <= q;
        if (holdsPutOn) {
            b = DropFront(b, Pos(kAmp, b) + kAmp.size());
            const qsizetype c = Pos(kNumber, b);
            const qsizetype d = Pos(kAmp, b);
            const QStringView number = Copy(b, c + 2, d - c - 3);
            b = DropFront(b, Pos(kLink, b) + kLink.size() - 1);
            const QStringView id = Copy(b, 1, Pos(kHtml, b) - 1);
            const qsizetype s = Pos(kName, b);
            const QStringView name = Copy(b, s + kName.size(), Pos(kLinkEnd, b) - s - kName.size());
            reading.items.append({name.toString(), id.toString(), number.toString()});
        }
        t = DropFront(t, q + kBlockEnd.size());
        if (t.isEmpty()) // an empty view has no position to measure from
            break;
    }
    return reading;
}

QString PutOnAddress(const BackpackReading::Item& item, const QString& cacheBuster) {
    return u"main.pl?set="_s + item.id + u"&n="_s + item.number + u"&tmp="_s + cacheBuster;
}

} // namespace orvix
