#include "ui/LinesBesideChart.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

void layOutLinesBesideChart(QDialog &window, QWidget *lines, int linesWidth, QLayout *chart, int linesShare,
                            int chartShare)
{
    auto *scroll = new QScrollArea;
    scroll->setWidget(lines);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(linesWidth);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *sideBySide = new QHBoxLayout;
    sideBySide->addWidget(scroll, linesShare);
    sideBySide->addLayout(chart, chartShare);

    auto *buttons = new QDialogButtonBox;
    QPushButton *close = buttons->addButton(QStringLiteral("&Sulje"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    auto *layout = new QVBoxLayout(&window);
    layout->addLayout(sideBySide, 1);
    layout->addWidget(buttons);
}
