#pragma once

#include <QScrollBar>

// The best-99 view's scroll bar. With keyboard focus it shows the focus mark
// of the dice and the rows.
class ListScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit ListScrollBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
