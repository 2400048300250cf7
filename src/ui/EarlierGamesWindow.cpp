#include "ui/EarlierGamesWindow.h"

#include "history/HistoryLines.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

EarlierGamesWindow::EarlierGamesWindow(std::vector<GameSummary> games, QWidget *parent)
    : QDialog(parent), games_(std::move(games))
{
    setWindowTitle(QStringLiteral("Aiemmat pelit"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    list_ = new QListWidget;
    list_->setAccessibleName(QStringLiteral("Aiemmat pelit"));
    list_->setAccessibleDescription(QStringLiteral("Enter avaa pelin arvion."));
    list_->setUniformItemSizes(true);  // ten thousand games open at once
    for (const GameSummary &game : games_)
        list_->addItem(gameLine(game));
    if (games_.empty())
        list_->addItem(QStringLiteral("Yhtään peliä ei ole vielä pelattu."));
    list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemActivated, this, [this] {
        if (const GameSummary *game = chosen(); game && review)
            review(game->id);
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { updateResume(); });

    auto *buttons = new QDialogButtonBox;
    resume_ = buttons->addButton(QStringLiteral("&Jatka peliä"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QStringLiteral("&Sulje"), QDialogButtonBox::RejectRole);
    // Enter opens a review in the list: no button takes it.
    resume_->setAutoDefault(false);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(resume_, &QPushButton::clicked, this, [this] {
        if (const GameSummary *game = chosen(); game && !game->finished && resume && mayResume && mayResume())
            resume(game->id);
    });

    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("&Pelit, uusin ensin:"));
    heading->setBuddy(list_);
    layout->addWidget(heading);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    list_->setFocus();
    resize(720, 420);
}

void EarlierGamesWindow::showEvent(QShowEvent *event)
{
    updateResume();
    QDialog::showEvent(event);
}

const GameSummary *EarlierGamesWindow::chosen() const
{
    const int row = list_->currentRow();
    return row >= 0 && std::size_t(row) < games_.size() ? &games_[std::size_t(row)] : nullptr;
}

void EarlierGamesWindow::updateResume()
{
    const GameSummary *game = chosen();
    resume_->setEnabled(game && !game->finished && mayResume && mayResume());
}

QStringList EarlierGamesWindow::lines() const
{
    QStringList texts;
    for (int row = 0; row < list_->count(); ++row)
        texts << list_->item(row)->text();
    return texts;
}
