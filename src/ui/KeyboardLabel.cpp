#include "ui/KeyboardLabel.h"

#include "ui/EventLabel.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace keyboard {
namespace {

bool canTakeFocus(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled();
}

// The next control in the Tab order that can take focus, if it is of the same
// kind as `from` (same class and frame) and lies below it (above, for Up): the
// dice and the rows each form one unbroken run of that order, which ends
// rather than wraps around.
QWidget *neighbour(QWidget &from, bool down)
{
    for (QWidget *w = down ? from.nextInFocusChain() : from.previousInFocusChain(); w && w != &from;
         w = down ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (!canTakeFocus(w))
            continue;
        const bool sameKind = w->metaObject() == from.metaObject() && w->parentWidget() == from.parentWidget();
        const bool onward = down ? w->y() > from.y() : w->y() < from.y();
        return sameKind && onward ? w : nullptr;
    }
    return nullptr;
}

} // namespace

void click(EventLabel &label)
{
    if (label.isEnabled() && label.onClick)
        label.onClick();
}

bool handleKey(EventLabel &label, QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (!event->isAutoRepeat())
            click(label);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (QWidget *next = neighbour(label, event->key() == Qt::Key_Down)) {
            next->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            next->setFocus(Qt::TabFocusReason);
        }
        return true;
    default:
        return false;
    }
}

bool showsFocusMark(const QWidget &widget)
{
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paintFocusMark(QWidget &widget, QPainter &painter, int inset)
{
    if (!showsFocusMark(widget))
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.state |= QStyle::State_KeyboardFocusChange;
    option.backgroundColor = widget.palette().color(widget.backgroundRole());
    option.rect = widget.rect().adjusted(inset, inset, -inset, -inset);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
    // Some styles draw a faint mark; a solid line in the selection colour
    // keeps it plain to see on the light dice and rows.
    painter.save();
    painter.setPen(QPen(widget.palette().color(QPalette::Active, QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter.restore();
}

} // namespace keyboard
