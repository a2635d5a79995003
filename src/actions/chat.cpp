#include "actions/chat.h"

#include "browser/browser.h"
#include "core/formtext.h"
#include "core/gameaddress.h"
#include "session/gamenavigation.h"

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

struct NamedColor {
    const char16_t* name;
    QColor color;
};

const NamedColor kChatColors[] = {
    {u"Black", QColor(0, 0, 0)},        {u"Fuchsia", QColor(255, 0, 255)},
    {u"Blue", QColor(0, 0, 255)},       {u"Gray", QColor(128, 128, 128)},
    {u"Green", QColor(0, 128, 0)},      {u"Maroon", QColor(128, 0, 0)},
    {u"Navy", QColor(0, 0, 128)},       {u"Olive", QColor(128, 128, 0)},
    {u"Purple", QColor(128, 0, 128)},   {u"Teal", QColor(0, 128, 128)},
    {u"Orange", QColor(255, 128, 64)},  {u"Chocolate", QColor(128, 64, 64)},
};

constexpr int kCycle = 100;

} // namespace

QString Chat::ChatAddress(const QString& text, const QString& suffix) const {
    // What the user typed can't split the query; the run of "+" is ours and goes as it is.
    return m_nav.ServerBase() + u"ch.pl?color="_s + EscapeUserText(m_color) +
           u"&sys=&om=&lid=&text="_s + EscapeUserText(First50(text)) + suffix;
}

void Chat::SendChat(const QString& text) {
    m_suffix += u'+';
    m_webChat.Navigate(ChatAddress(text, m_suffix));
    if (++m_count > kCycle)
        reset();
}

void Chat::setChatColor(const QString& name) {
    m_color = name;
    for (const NamedColor& c : kChatColors)
        if (QStringView(c.name) == name)
            m_fontColor = c.color;
}

void Chat::reset() {
    m_count = 0;
    m_suffix.clear();
}

} // namespace orvix
