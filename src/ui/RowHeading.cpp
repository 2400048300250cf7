#include "ui/RowHeading.h"

#include "ui/KeyboardLabel.h"

#include <QPainter>

RowHeading::RowHeading(QWidget *parent) : EventLabel(parent)
{
    // No focus yet: a label that takes focus when its caption is set lays
    // the text out as a rich-text document of its own, as costly as a dozen
    // plain labels. The keyboard set-up gives the focus once the caption is
    // there, and taking the focus asks for no document either.
}

void RowHeading::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
}

void RowHeading::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
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
