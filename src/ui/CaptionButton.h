#pragma once

#include <QPushButton>
#include <QStringList>

// A button whose caption breaks onto more lines, at its blanks, when it does
// not fit on one: "&Aloita peli klik- kaamalla tästä !" is meant to be read on
// two lines inside its button. A caption that fits is drawn as usual.
class CaptionButton : public QPushButton {
public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

    // The caption's lines as they are drawn ("&" marks kept).
    QStringList captionLines() const;
    // The room the caption is drawn in.
    QRect captionRect() const;
    // The width of a caption line as shown: "&" marks take no room.
    int shownWidth(const QString &line) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
