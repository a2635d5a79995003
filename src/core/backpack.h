#pragma once

#include <QList>
#include <QString>

namespace orvix {

// What the backpack page offers to put on, read by the page's fixed markers.
struct BackpackReading {
    struct Item {
        QString name;
        QString id;
        QString number;
    };
    bool isBackpackPage = false;
    QString weight; // the text between "Рюкзак (масса: " and ")</B>"
    QList<Item> items; // at most kBackpackRows, in page order
};

inline constexpr int kBackpackRows = 25;

// Reads a captured backpack page. Missing markers count as position 0 and every cut is clamped
// to the text, so any text gives some reading and nothing reads outside it; the time grows
// with the length of the text, not its square.
BackpackReading ReadBackpack(QStringView page);

// The put-on address of an item, relative to the server base.
QString PutOnAddress(const BackpackReading::Item& item, const QString& cacheBuster);

} // namespace orvix
