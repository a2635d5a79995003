#include "session/pagecapture.h"

#include "browser/browser.h"
#include "core/diagnosticlog.h"
#include "core/pagetext.h"

namespace orvix {

using namespace Qt::StringLiterals;

void CapturePageHtml(Browser& source, PageBuffer& buffer, DiagnosticLog& log,
                     std::function<void(const QString& html)> done) {
    buffer.clear();
    const int generation = ++*buffer.m_generation;
    std::weak_ptr<int> alive = buffer.m_generation;
    PageBuffer* target = &buffer;
    source.Document([=, &log, done = std::move(done)](std::shared_ptr<const DomTree> root) {
        const auto current = alive.lock();
        if (!current || *current != generation)
            return;
        if (!root) {
            log.LogError(u"Ошибка - Главный парсер"_s);
            return;
        }
        target->m_text = CapturedPageText(*root);
        if (done)
            done(target->m_text);
    });
}

} // namespace orvix
