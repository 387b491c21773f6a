#include "app/settings/color_dialog.h"

#include "app/widgets/win_color.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace dw {

const std::vector<NamedColor>& namedColors() {
    static const std::vector<NamedColor> colors = {
        {"Black", 0x000000},
        {"Maroon", 0x000080},
        {"Green", 0x008000},
        {"Olive", 0x008080},
        {"Navy", 0x800000},
        {"Purple", 0x800080},
        {"Teal", 0x808000},
        {"Gray", 0x808080},
        {"Silver", 0xC0C0C0},
        {"Red", 0x0000FF},
        {"Lime", 0x00FF00},
        {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},
        {"Fuchsia", 0xFF00FF},
        {"Aqua", 0xFFFF00},
        {"White", 0xFFFFFF},
        {"Window", SysColor::Window},
        {"Window Text", SysColor::WindowText},
        {"Button Face", SysColor::ButtonFace},
        {"Highlight", SysColor::Highlight},
        {"Highlight Text", SysColor::HighlightText},
    };
    return colors;
}

namespace {

QIcon swatch(WinColor c) {
    QPixmap pm(16, 16);
    pm.fill(toQColor(c));
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pm);
}

QComboBox* colorList(const QString& name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (const auto& nc : namedColors())
        list->addItem(swatch(nc.color), nc.name, QVariant::fromValue(static_cast<uint>(nc.color)));
    return list;
}

void select(QComboBox* list, WinColor c) {
    int i = list->findData(QVariant::fromValue(static_cast<uint>(c)));
    if (i < 0) {
        // Not a named colour: offer it as it is, so OK keeps it unchanged.
        const QColor q = toQColor(c);
        list->addItem(swatch(c), "Custom " + q.name(QColor::HexRgb).toUpper(),
                      QVariant::fromValue(static_cast<uint>(c)));
        i = list->count() - 1;
    }
    list->setCurrentIndex(i);
}

WinColor selected(const QComboBox* list) {
    return static_cast<WinColor>(list->currentData().toUInt());
}

} // namespace

ColorDialog::ColorDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("colorDialog");
    setWindowTitle("Set Color");

    preview_ = new QCalendarWidget(this);
    preview_->setObjectName("preview");
    preview_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    preview_->setFocusPolicy(Qt::NoFocus);

    foregroundCombo_ = colorList("foregroundCombo", this);
    backgroundCombo_ = colorList("backgroundCombo", this);

    auto* form = new QFormLayout;
    form->addRow("ForeGround", foregroundCombo_);
    form->addRow("BackGround", backgroundCombo_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(foregroundCombo_, &QComboBox::currentIndexChanged, this, &ColorDialog::repaintPreview);
    connect(backgroundCombo_, &QComboBox::currentIndexChanged, this, &ColorDialog::repaintPreview);
    setColors(0x000000, 0xFFFFFF);
    foregroundCombo_->setFocus();
}

void ColorDialog::setColors(WinColor foreground, WinColor background) {
    select(foregroundCombo_, foreground);
    select(backgroundCombo_, background);
    repaintPreview();
}

void ColorDialog::setSundayFirst(bool sundayFirst) {
    preview_->setFirstDayOfWeek(sundayFirst ? Qt::Sunday : Qt::Monday);
}

WinColor ColorDialog::foreground() const {
    return selected(foregroundCombo_);
}

WinColor ColorDialog::background() const {
    return selected(backgroundCombo_);
}

void ColorDialog::repaintPreview() {
    QTextCharFormat f;
    f.setForeground(toQColor(foreground()));
    f.setBackground(toQColor(background()));
    for (int d = Qt::Monday; d <= Qt::Sunday; ++d)
        preview_->setWeekdayTextFormat(static_cast<Qt::DayOfWeek>(d), f);
    preview_->update();
}

} // namespace dw
