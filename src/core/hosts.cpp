#include "core/hosts.h"

#include <QStringList>

namespace orvix {

QStringList Hosts::apply(QStringView text) {
    QStringList unknown;
    const struct {
        const char16_t* key;
        QString Hosts::*field;
    } keys[] = {{u"main", &Hosts::main},     {u"ysmer", &Hosts::ysmer},   {u"krall", &Hosts::krall},
                {u"bruvik", &Hosts::bruvik}, {u"makers", &Hosts::makers}, {u"forum", &Hosts::forum},
                {u"velnar", &Hosts::velnar}, {u"sh", &Hosts::sh}};
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QStringView key = eq < 0 ? line : line.left(eq).trimmed();
        const QString value = eq < 0 ? QString() : line.sliced(eq + 1).trimmed().toString();
        bool known = false;
        for (const auto& k : keys) {
            if (key == QStringView(k.key) && !value.isEmpty()) {
                this->*k.field = value;
                known = true;
            }
        }
        if (!known)
            unknown << line.toString();
    }
    return unknown;
}

} // namespace orvix
