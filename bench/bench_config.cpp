// Prints how long one load and one save of the configuration take, for the real 68-line layout
// and for a 1 MB list. Figures only; nothing here passes or fails.
#include "core/alerts.h"
#include "core/configlist.h"
#include "core/configstore.h"
#include "core/diagnosticlog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvix;

namespace {

class QuietAlerts final : public Alerts {
public:
    void message(const QString&) override {}
    void warning(const QString& text) override {
        std::fprintf(stderr, "warning: %s\n", qPrintable(text));
    }
};

double medianMs(std::vector<qint64>& ns) {
    std::sort(ns.begin(), ns.end());
    return double(ns[ns.size() / 2]) / 1e6;
}

void measure(const char* name, const QString& text, int rounds) {
    QuietAlerts alerts;
    DiagnosticLog log(alerts);
    ConfigList list;
    list.setText(text);
    ConfigStore store(list, log, alerts);
    store.setEventPump({});
    std::vector<qint64> save, load;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!store.SaveConfiguration().ok())
            std::fprintf(stderr, "save failed\n");
        save.push_back(t.nsecsElapsed());
        t.restart();
        store.LoadConfiguration();
        load.push_back(t.nsecsElapsed());
    }
    std::printf("%-22s %9lld bytes  load %8.3f ms  save %8.3f ms  (median of %d)\n", name,
                static_cast<long long>(text.size()), medianMs(load), medianMs(save), rounds);
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        return 1;

    QStringList layout(68);
    for (int i = 0; i < 10; i += 2) {
        layout[i] = QStringLiteral("Персонаж%1").arg(i);
        layout[i + 1] = QStringLiteral("пароль%1").arg(i);
    }
    for (int s = 15; s <= 44; ++s)
        layout[s] = QStringLiteral("Друг номер %1").arg(s);
    for (int k = 48; k <= 57; ++k)
        layout[k] = QStringLiteral("Привет всем, фраза %1!").arg(k);
    layout[62] = layout[63] = layout[64] = layout[66] = QStringLiteral("ok");
    layout[65] = QStringLiteral("5");
    layout[67] = QStringLiteral("2");
    measure("68-line configuration", layout.join(QStringLiteral("\r\n")), 201);

    QString big;
    const QString row = QStringLiteral("Строка списка с текстом, abc 0123456789");
    while (big.size() < 1024 * 1024)
        big += row + QStringLiteral("\r\n");
    measure("1 MB list", big, 21);
    return 0;
}
