#include "ui/RowHeading.h"

#include "ui/KeyboardLabel.h"

#include <QPainter>

RowHeading::RowHeading(QWidget *parent) : EventLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void RowHeading::keyPressEvent(QKeyEvent *event)
{
    if (!keyboard::handleKey(*this, event))
        EventLabel::keyPressEvent(event);
}

void RowHeading::paintEvent(QPaintEvent *event)
{
    EventLabel::paintEvent(event);
    // A second painter costs as much as the label's own text: only for the mark.
    if (keyboard::showsFocusMark(*this)) {
        QPainter painter(this);
        keyboard::paintFocusMark(*this, painter);
    }
}
