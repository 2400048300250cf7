#include "ui/EventLabel.h"

#include "ui/Accessibility.h"
#include "ui/KeyboardLabel.h"

#include <QMouseEvent>
#include <QPainter>

EventLabel::EventLabel(QWidget *parent) : QLabel(parent)
{
    // Captions carry names and dates from the files and the keyboard: they
    // are shown as typed, never read as markup (which could load pictures).
    setTextFormat(Qt::PlainText);
}

void EventLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    if (onChange)
        onChange();
}

QColor EventLabel::backColor() const
{
    return palette().color(QPalette::Window);
}

void EventLabel::setBackColor(const QColor &color)
{
    if (autoFillBackground() && backColor() == color)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

QColor EventLabel::foreColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void EventLabel::setForeColor(const QColor &color)
{
    if (foreColor() == color)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, color);
    p.setColor(QPalette::Inactive, QPalette::WindowText, color);
    setPalette(p);
}

void EventLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void EventLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && onClick)
        onClick();
}

DieBox::DieBox(QWidget *parent) : EventLabel(parent)
{
    // The die paints all of itself, so a die landing does not repaint the
    // frame behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void DieBox::showPicture(const QString &name, const QPixmap &picture)
{
    const bool wasMarked = isMarked();
    pictureName_ = name;
    picture_ = picture;
    if (isMarked() != wasMarked)
        announceCheckedChange(this);
    update();
}

void DieBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // A twice-size picture on a screen that does not scale as much (another
    // monitor) is shrunk smoothly; a player's picture enlarged stays crisp.
    if (picture_.devicePixelRatio() > devicePixelRatioF())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, picture_);
    keyboard::paintFocusMark(*this, painter);
}

void DieBox::keyPressEvent(QKeyEvent *event)
{
    if (!keyboard::handleKey(*this, event))
        EventLabel::keyPressEvent(event);
}
