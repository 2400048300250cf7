#include "ui/ListScrollBar.h"

#include "ui/KeyboardLabel.h"

#include <QPainter>

ListScrollBar::ListScrollBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent)
{
}

void ListScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (keyboard::showsFocusMark(*this)) {
        // The bar is narrow: the mark runs along its edges.
        QPainter painter(this);
        keyboard::paintFocusMark(*this, painter, 0);
    }
}
