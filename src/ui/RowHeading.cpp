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
    QPainter painter(this);
    keyboard::paintFocusMark(*this, painter);
}
