#include "browser/fakebrowser.h"

namespace orvix {

void FakeBrowser::Navigate(const QString& address) {
    requests.append({Request::Kind::Navigate, address, {}, 0, {}});
    location = address;
}

void FakeBrowser::Navigate(const QString& address, int flags, const QString& frame) {
    requests.append({Request::Kind::NavigateInFrame, address, frame, flags, {}});
}

void FakeBrowser::Navigate2(const QString& address, const QString& frame,
                            const QByteArray& postData) {
    requests.append({Request::Kind::Post, address, frame, 0, postData});
    if (frame.isEmpty())
        location = address;
}

Status FakeBrowser::GoBack() {
    return canGoBack ? Status::success() : Status::failure(QStringLiteral("no page to go back to"));
}

Status FakeBrowser::GoForward() {
    return canGoForward ? Status::success()
                        : Status::failure(QStringLiteral("no page to go forward to"));
}

Status FakeBrowser::Stop() {
    return loading ? Status::success() : Status::failure(QStringLiteral("nothing is loading"));
}

Browser* FakeBrowser::requestNewWindow(const QString& address) {
    emit NewWindow2(address);
    return newWindowTarget();
}

} // namespace orvix
