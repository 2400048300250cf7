#pragma once

#include <QColor>
#include <QLabel>
#include <functional>

// A label that reports clicks and caption changes, as the score sheet needs:
// a click is a mouse release inside the label (a disabled label gets none), and
// the change callback runs only when the caption really changes.
class EventLabel : public QLabel {
    Q_OBJECT

public:
    explicit EventLabel(QWidget *parent = nullptr);

    std::function<void()> onClick;
    std::function<void()> onChange;

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

    QColor backColor() const;
    void setBackColor(const QColor &color);
    QColor foreColor() const;
    // The text colour while enabled; a disabled label keeps the greyed text.
    void setForeColor(const QColor &color);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

// A die: shows one picture unscaled from its top-left corner and, unlike a
// plain label, does not grey it out while disabled. It takes keyboard focus:
// Space or Enter clicks it, Up and Down move to the die above or below.
class DieBox : public EventLabel {
    Q_OBJECT

public:
    explicit DieBox(QWidget *parent = nullptr);

    // The name of the picture shown ("4.bmp"), for the window's own checks.
    QString pictureName() const { return pictureName_; }
    const QPixmap &picture() const { return picture_; }
    void showPicture(const QString &name, const QPixmap &picture);
    // Marked to be thrown again: the die shows a "v" picture.
    bool isMarked() const { return pictureName_.startsWith(QLatin1Char('v')); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString pictureName_;
    QPixmap picture_;
};
