#include "app/settingspanel.h"

#include "core/configlist.h"
#include "core/configstore.h"

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

template <typename W> W* placed(W* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

constexpr int kMaxMinutes = 59;

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent)
    : FloatingPanel(u"PanelNtr"_s, QRect(131, 25, 214, 248), parent) {
    auto* all = new QGroupBox(u"Настройки:"_s, this);
    all->setGeometry(4, 2, 206, 214);

    XPGroupBox11 = placed(new QGroupBox(u"System:"_s, all), u"XPGroupBox11"_s, {6, 16, 194, 72});
    Check1 = placed(new QCheckBox(u"Не сохранять L/P"_s, XPGroupBox11), u"Check1"_s,
                    {8, 15, 180, 17});
    Check2 = placed(new QCheckBox(u"Не использовать W2"_s, XPGroupBox11), u"Check2"_s,
                    {8, 33, 180, 17});
    Check3 = placed(new QCheckBox(u"Использовать Esc для W2"_s, XPGroupBox11), u"Check3"_s,
                    {8, 51, 180, 17});

    auto* friends = new QGroupBox(u"Знакомые OnLine: "_s, all);
    friends->setGeometry(6, 92, 194, 40);
    XPCheckBox1 = placed(new QCheckBox(u"Проверять,"_s, friends), u"XPCheckBox1"_s,
                         {8, 16, 80, 17});
    auto* every = new QLabel(u"каждые"_s, friends);
    every->setGeometry(90, 16, 42, 17);
    XPLabel9 = new ClickLabel(u"XPLabel9"_s, u"<"_s, friends);
    XPLabel9->setAccessibleName(u"Меньше"_s);
    XPLabel9->setGeometry(133, 16, 8, 17);
    XPLabel10 = placed(new QLabel(u"00"_s, friends), u"XPLabel10"_s, {142, 16, 14, 17});
    XPLabel10->setAlignment(Qt::AlignCenter);
    XPLabel11 = new ClickLabel(u"XPLabel11"_s, u">"_s, friends);
    XPLabel11->setAccessibleName(u"Больше"_s);
    XPLabel11->setGeometry(157, 16, 8, 17);
    auto* unit = new QLabel(u"мин."_s, friends);
    unit->setGeometry(166, 16, 26, 17);
    connect(XPLabel9, &ClickLabel::clicked, this, [this] { stepMinutes(-1); });
    connect(XPLabel11, &ClickLabel::clicked, this, [this] { stepMinutes(+1); });

    auto* analyser = new QGroupBox(u"Анализатор лога:"_s, all);
    analyser->setGeometry(6, 136, 194, 72);
    const QString captions[4] = {u"SH"_s, u"Velnar"_s, u"Tarvo"_s, u"Нет"_s};
    for (int i = 0; i < 4; ++i)
        RB[i] = placed(new QRadioButton(captions[i], analyser), u"RB%1"_s.arg(i + 1),
                       {8 + (i % 2) * 92, 16 + (i / 2) * 24, 84, 17}); // read across: SH, Velnar, ...

    XPButton45 = placed(new QPushButton(u"Сохранить"_s, this), u"XPButton45"_s, {4, 222, 90, 21});
    XPButton46 = placed(new QPushButton(u"X"_s, this), u"XPButton46"_s, {192, 224, 17, 17});
    XPButton46->setAccessibleName(u"Закрыть"_s);
    connect(XPButton46, &QPushButton::clicked, this, &FloatingPanel::Toggle);
}

void SettingsPanel::stepMinutes(int by) {
    // A caption that is no number counts as 0, so the arrows always lead back to a valid one.
    const int minutes = XPLabel10->text().toInt();
    XPLabel10->setText(QString::number(qBound(0, minutes + by, kMaxMinutes)));
}

Status SettingsPanel::Save(ConfigList& config, ConfigStore& store) {
    const auto flag = [](const QCheckBox* box) { return box->isChecked() ? u"ok"_s : u"no"_s; };
    config.setLine(62, flag(Check1));
    config.setLine(63, flag(Check2));
    config.setLine(64, flag(XPCheckBox1));
    bool isNumber = false;
    const int minutes = XPLabel10->text().toInt(&isNumber);
    if (!isNumber)
        return Status::failure(u"'%1' is not a valid integer value"_s.arg(XPLabel10->text()));
    config.setLine(65, minutes != 0 ? XPLabel10->text() : QString());
    config.setLine(66, flag(Check3));
    for (int i = 0; i < 4; ++i)
        if (RB[i]->isChecked())
            config.setLine(67, QString::number(i + 1));
    Toggle();
    return store.SaveConfiguration();
}

} // namespace orvix
