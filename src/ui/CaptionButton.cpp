#include "ui/CaptionButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CaptionButton::CaptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

int CaptionButton::shownWidth(const QString &line) const
{
    QString shown;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'&' && i + 1 < line.size())
            ++i;  // "&x" shows x underlined, "&&" one "&"
        shown += line[i];
    }
    return fontMetrics().horizontalAdvance(shown);
}

QRect CaptionButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this) / 2;
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(margin, 0, -margin, 0);
}

QStringList CaptionButton::captionLines() const
{
    const int room = captionRect().width();
    const QString caption = text();
    if (shownWidth(caption) <= room)
        return {caption};
    // Each line takes as many words as fit; a word too long for a line stands alone.
    QStringList lines;
    QString line;
    for (const QString &word : caption.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (line.isEmpty() || shownWidth(longer) <= room) {
            line = longer;
        } else {
            lines << line;
            line = word;
        }
    }
    lines << line;
    return lines;
}

void CaptionButton::paintEvent(QPaintEvent *event)
{
    const QStringList lines = captionLines();
    if (lines.size() <= 1) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);  // the button and its focus frame

    QRect room = captionRect();
    if (option.state & (QStyle::State_Sunken | QStyle::State_On))
        room.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    int flags = Qt::AlignCenter;
    flags |= style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) ? Qt::TextShowMnemonic
                                                                              : Qt::TextHideMnemonic;
    style()->drawItemText(&painter, room, flags, option.palette, isEnabled(), lines.join(u'\n'),
                          QPalette::ButtonText);
}
