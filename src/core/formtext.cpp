#include "core/formtext.h"

namespace orvix {

QString EscapeUserText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'%':
            out += QStringLiteral("%25");
            break;
        case u'&':
            out += QStringLiteral("%26");
            break;
        case u'+':
            out += QStringLiteral("%2B");
            break;
        case u'#':
            out += QStringLiteral("%23");
            break;
        case u'=':
            out += QStringLiteral("%3D");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace orvix
