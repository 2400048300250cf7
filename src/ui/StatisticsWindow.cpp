#include "ui/StatisticsWindow.h"

#include "history/HistoryLines.h"
#include "ui/LinesBesideChart.h"
#include "ui/PlayerChart.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

StatisticsWindow::StatisticsWindow(std::vector<NameStatistics> names, GamesOf gamesOf, QWidget *parent)
    : QDialog(parent), names_(std::move(names)), gamesOf_(std::move(gamesOf))
{
    setWindowTitle(QStringLiteral("Pelaajien tilastot"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    auto *list = new QWidget;
    auto *column = new QVBoxLayout(list);
    for (const NameStatistics &name : names_) {
        const QString shares = sharesLine(name);
        auto *player = new QLabel(shares.isEmpty() ? gamesLine(name) : gamesLine(name) + u'\n' + shares);
        player->setTextFormat(Qt::PlainText);  // a name is shown as typed, never as markup
        player->setWordWrap(true);
        player->setFocusPolicy(Qt::StrongFocus);
        player->setTextInteractionFlags(Qt::TextSelectableByKeyboard);
        player->setMargin(4);
        player->setAutoFillBackground(true);
        player->installEventFilter(this);
        column->addWidget(player);
        players_.push_back(player);
    }
    if (names_.empty())
        column->addWidget(new QLabel(QStringLiteral("Yhtään peliä ei ole vielä pelattu.")));
    column->addStretch();
    chart_ = new PlayerChart;
    chart_->setFocusPolicy(Qt::StrongFocus);  // a screen reader reaches it by Tab like the lines
    auto *chartColumn = new QVBoxLayout;
    chartColumn->addWidget(chart_);
    layOutLinesBesideChart(*this, list, 420, chartColumn, 5, 5);

    if (!players_.empty()) {
        choose(0);
        players_.front()->setFocus();
    }
    resize(960, 480);
}

bool StatisticsWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto at = std::find(players_.begin(), players_.end(), watched);
    if (at == players_.end())
        return QDialog::eventFilter(watched, event);
    const std::size_t player = std::size_t(at - players_.begin());
    if (event->type() == QEvent::FocusIn) {
        choose(player);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const std::size_t next = key == Qt::Key_Up && player > 0                        ? player - 1
                                 : key == Qt::Key_Down && player + 1 < players_.size() ? player + 1
                                                                                        : player;
        if (next != player) {
            choose(next);
            players_[next]->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StatisticsWindow::choose(std::size_t player)
{
    chosen_ = player;
    for (std::size_t p = 0; p < players_.size(); ++p)
        players_[p]->setBackgroundRole(p == player ? QPalette::AlternateBase : QPalette::Window);
    chart_->showGames(names_[player].name, gamesOf_ ? gamesOf_(names_[player].name) : std::vector<FinishedResult>{});
}

QStringList StatisticsWindow::lines() const
{
    QStringList texts;
    for (const QLabel *player : players_)
        texts << player->text().split(u'\n');
    return texts;
}

QString StatisticsWindow::chosen() const
{
    return names_.empty() ? QString() : names_[chosen_].name;
}
