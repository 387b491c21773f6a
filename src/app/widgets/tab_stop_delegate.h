#pragma once

#include <QStyledItemDelegate>

namespace dw {

// Draws a list line's TABs as tab stops every `dialogUnits` dialog units (a dialog unit is a
// quarter of the average character width), so the pieces of the lines stand in columns.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(int dialogUnits, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    int dialogUnits_;
};

} // namespace dw
