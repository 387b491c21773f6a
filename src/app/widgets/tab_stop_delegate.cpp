#include "app/widgets/tab_stop_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

namespace dw {

TabStopDelegate::TabStopDelegate(int dialogUnits, QObject* parent)
    : QStyledItemDelegate(parent), dialogUnits_(dialogUnits) {}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    // The item's background and selection as the style draws them, without its text.
    const QWidget* view = opt.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);

    QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
    textOption.setTabStopDistance(opt.fontMetrics.averageCharWidth() * dialogUnits_ / 4.0);
    textOption.setWrapMode(QTextOption::NoWrap);
    painter->save();
    painter->setPen(opt.palette.color(QPalette::Normal, opt.state & QStyle::State_Selected
                                                            ? QPalette::HighlightedText
                                                            : QPalette::Text));
    painter->drawText(QRectF(opt.rect.adjusted(3, 0, -3, 0)), text, textOption);
    painter->restore();
}

} // namespace dw
