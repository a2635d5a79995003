#include "app/esckey.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace orvix {
namespace {

bool g_seenDown = false;

class EscWatcher final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
                g_seenDown = event->type() == QEvent::KeyPress;
        } else if (event->type() == QEvent::ApplicationDeactivate) {
            g_seenDown = false;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void WatchEscKey() {
    static EscWatcher* watcher = nullptr;
    if (!watcher && qGuiApp) {
        watcher = new EscWatcher;
        watcher->setParent(qGuiApp);
        qGuiApp->installEventFilter(watcher);
    }
}

} // namespace orvix

// After the Qt code: Xlib's macros (KeyPress, None) would clash with Qt's names.
#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(ORVIX_HAVE_X11)
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace orvix {

bool EscKeyDown() {
#if defined(Q_OS_WIN)
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
#else
#if defined(ORVIX_HAVE_X11)
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* display = x11->display()) {
            char keys[32];
            XQueryKeymap(display, keys);
            const KeyCode code = XKeysymToKeycode(display, XK_Escape);
            return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
        }
    }
#endif
    return g_seenDown;
#endif
}

} // namespace orvix
