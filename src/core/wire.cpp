#include "core/wire.h"

#include "core/cp1251.h"

namespace orvix {

QByteArray WireAddress(QStringView address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray bytes = cp1251::encode(address);
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b > 0x7F || b == ' ') {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

QUrl WireUrl(QStringView address) {
    return QUrl::fromEncoded(WireAddress(address));
}

} // namespace orvix
