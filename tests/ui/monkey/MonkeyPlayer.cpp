#include "MonkeyPlayer.h"

#include "files/Windows1252.h"

#include <QEventLoop>
#include <QGroupBox>
#include <algorithm>
#include <cstdio>

namespace {

bool sameList(const BestList &a, const BestList &b)
{
    return a.names == b.names && a.dates == b.dates && a.scores == b.scores;
}

} // namespace

bool MonkeyPlatform::askYesNo(const QString &text)
{
    questions.clear();  // a long run asks millions of questions
    questions << text;
    const bool yes = answerYes || random_.percent(50);
    lastQuestion = text + (yes ? QStringLiteral(" -> Yes") : QStringLiteral(" -> No"));
    return yes;
}

MonkeyPlayer::MonkeyPlayer(std::uint32_t seed, qint64 budget, int trace)
    : seed_(seed), budget_(budget), trace_(trace), random_(seed)
{
    // Names chosen from the lists end with "Kone" now and then: the computer
    // plays its turns between the monkey's actions.
}

MonkeyPlayer::~MonkeyPlayer() = default;

QString MonkeyPlayer::run()
{
    clock_.start();
    startWindow();
    if (failure_.isEmpty()) {
        QEventLoop loop;
        onFinished_ = [&loop] { loop.quit(); };
        scheduleNext();
        loop.exec();
    }
    figures_.seconds = double(clock_.nsecsElapsed()) / 1e9;
    figures_.idleSteps = idleSteps_;
    window_.reset();
    return failure_;
}

void MonkeyPlayer::scheduleNext()
{
    QTimer::singleShot(0, this, [this] { step(); });
}

void MonkeyPlayer::step()
{
    const int outer = depth_;  // steps below this one: handlers of the window may be running under them
    ++depth_;
    struct Leave {
        int &depth;
        ~Leave() { --depth; }
    } leave{depth_};

    if (windingUp_) {
        windUp(outer);
        return;
    }
    if (window_->platform.ended) {
        if (outer > 0) {
            // The ended window's handlers are still returning; it must not go
            // away under them.
            if (++idleSteps_ % 1000000 == 0)
                qWarning("monkey: %lld steps waiting for the old window's handlers", idleSteps_);
            scheduleNext();
            return;
        }
        ++figures_.actions;
        note(QStringLiteral("the program has ended: start a new window"));
        startWindow();
        check();
        scheduleNext();
        return;
    }

    // Scheduled before acting: the action may end a game and wait for a name
    // entry inside the window's own loop, where the next actions must run.
    scheduleNext();
    ++figures_.actions;
    if (delayedClickAt_ >= 0 && figures_.actions >= delayedClickAt_)
        landDelayedClick();
    else
        act();
    scheduleDelayedClick();
    if (trace_ > 1 && !window_->platform.ended)
        std::fprintf(stderr, "%s", describeWindow(*window_->form).toUtf8().constData());
    check();
    if (figures_.actions >= budget_)
        windingUp_ = true;
}

void MonkeyPlayer::windUp(int outer)
{
    if (outer == 0) {
        if (!finished_) {
            finished_ = true;
            onFinished_();
        }
        return;
    }
    // Still inside the window's wait for a name: ending the program releases it.
    if (!window_->platform.ended) {
        window_->platform.answerYes = true;
        note(QStringLiteral("winding up: close the window, Yes"));
        window_->form->close();
        if (!window_->platform.ended)
            qFatal("monkey: the window did not end while winding up. %s", qPrintable(failure_));
    }
    scheduleNext();
}

void MonkeyPlayer::startWindow()
{
    window_.reset();
    buttons_.clear();
    delayedClickAt_ = -1;
    prepareFolder();
    window_ = std::make_unique<Window>(random_);
    MonkeyPlatform &platform = window_->platform;
    platform.folder = folder_.path();
    platform.date = random_.date();
    platform.time = random_.timeOfDay();
    window_->form = std::make_unique<Form1>(platform);
    Form1 &f = *window_->form;
    ++figures_.windows;
    atEnd_ = false;
    if (!f.Form_Load()) {
        fail(QStringLiteral("the window did not start: %1")
                 .arg(platform.messages.isEmpty() ? QString() : platform.messages.last().text));
        return;
    }
    f.show();
    if (!QTest::qWaitForWindowExposed(&f))
        qWarning("monkey: window not exposed");
    controls_ = monkeyControls(f);
    watchDelayedClicks(f);
    shownList_ = f.best;
}

void MonkeyPlayer::prepareFolder()
{
    // Between two runs of the program the list file may be anything the
    // program can read: most often what the last run left.
    const int kind = random_.below(100);
    auto randomName = [this] {
        const QString name = storableName(random_.name(8));
        return name.trimmed().isEmpty() ? QStringLiteral("Nimi") : name;
    };
    auto write = [this](const BestList &list, CheckNumbers numbers) {
        folder_.write(QStringLiteral("lista99.txt"), formatBestList(list, numbers));
    };
    auto listOf = [this, &randomName](const std::function<int(int)> &score) {
        BestList list = makeList(score);
        for (int i = 0; i < bestListPlaces; ++i) {
            if (random_.percent(10))
                list.names[std::size_t(i)] = randomName();
        }
        return list;
    };
    if (kind < 30) {
        // as it was left
    } else if (kind < 65) {
        // Low enough for most games to enter it.
        const int top = 40 + random_.below(120);
        const int fall = random_.below(3);
        const BestList list = listOf([top, fall](int i) { return std::max(0, top - fall * i); });
        write(list, computeCheckNumbers(list));
    } else if (kind < 70) {
        const BestList list = listOf([](int i) { return 300 - 2 * i; });
        write(list, computeCheckNumbers(list));
    } else if (kind < 73) {
        const BestList list = listOf([](int) { return 374; });  // no total beats it
        write(list, computeCheckNumbers(list));
    } else if (kind < 78) {
        const int score = 40 + random_.below(120);  // ties
        const BestList list = listOf([score](int) { return score; });
        write(list, computeCheckNumbers(list));
    } else if (kind < 88) {
        // Edited by hand: the program repairs the check numbers at start-up.
        const std::optional<BestListFile> read = parseBestList(folder_.read(QStringLiteral("lista99.txt")), nullptr);
        if (read) {
            BestList list = read->list;
            CheckNumbers numbers = read->stored;
            if (random_.percent(50))
                list.names[std::size_t(random_.below(bestListPlaces))] = randomName();
            else
                numbers.name += 1 + random_.below(5);
            write(list, numbers);
        }
    } else {
        std::vector<int> scores(bestListPlaces);
        for (int &score : scores)
            score = random_.below(random_.percent(50) ? 375 : 150);
        std::sort(scores.begin(), scores.end(), std::greater<int>());
        BestList list = listOf([&scores](int i) { return scores[std::size_t(i)]; });
        for (int i = 0; i < bestListPlaces; ++i)
            list.dates[std::size_t(i)] = random_.date().toString(QStringLiteral("dd.MM.yy"));
        write(list, computeCheckNumbers(list));
    }
    if (random_.percent(20)) {
        QStringList names;
        for (int n = random_.below(7); n > 0; --n)
            names << (random_.percent(15) ? QString() : storableName(random_.name(12)));
        folder_.write(QStringLiteral("nimet.txt"), windows1252::encode(names.join(QStringLiteral("\r\n"))));
    }
}

void MonkeyPlayer::note(const QString &what)
{
    const QString line = QStringLiteral("#%1 %2").arg(figures_.actions).arg(what);
    if (trace_)  // past the test's message handler, which stops after 2000 lines
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    recent_ << line;
    if (recent_.size() > 40)
        recent_.removeFirst();
}

void MonkeyPlayer::check()
{
    if (!failure_.isEmpty())
        return;
    const Window &w = *window_;
    const Form1 &f = *w.form;
    if (w.platform.ended != f.programEnded()) {
        fail(QStringLiteral("the platform and the window disagree on whether the program has ended"));
        return;
    }
    QString broken = w.platform.ended ? QString() : checkWindow(f);
    if (broken.isEmpty())
        broken = listCheck_.check(folder_.read(QStringLiteral("lista99.txt")), &f.best);
    if (!broken.isEmpty()) {
        fail(broken);
        return;
    }

    const bool atEnd = !w.platform.ended
                       && (f.Frame99ListaPohja->isVisible() || (f.gameOver && !f.CmdAloitaPeli->isVisible()));
    if (atEnd && !atEnd_) {
        ++figures_.gamesEnded;
        if (std::any_of(f.computerLevels.begin(), f.computerLevels.end(), [](auto *level) { return level != nullptr; }))
            ++figures_.computerGames;
        for (int p = 0; p <= f.lastPlayerIndex; ++p) {
            figures_.totalsSum += f.LblKaikkiYhteensäPelaaja[std::size_t(p)]->caption().toInt();
            ++figures_.totals;
        }
    }
    atEnd_ = atEnd;

    if (!sameList(f.best, shownList_)) {
        // Each player is offered at most one place in a game.
        const std::pair<int, int> offer(figures_.gamesEnded, f.lastPlayer);
        if (f.computerLevels[std::size_t(f.lastPlayer)]) {
            fail(QStringLiteral("the computer's result entered the list"));
            return;
        }
        if (offer == lastOffer_) {
            fail(QStringLiteral("a second entry for player %1 in the same game").arg(f.lastPlayer));
            return;
        }
        lastOffer_ = offer;
        ++figures_.entries;
        shownList_ = f.best;
    }
}

void MonkeyPlayer::fail(const QString &what)
{
    if (!failure_.isEmpty())
        return;
    failure_ = QStringLiteral("seed %1, action %2: %3\nthe latest actions:\n  %4\nthe window now:\n%5")
                   .arg(seed_)
                   .arg(figures_.actions)
                   .arg(what, recent_.join(QStringLiteral("\n  ")),
                        window_ && window_->form ? describeWindow(*window_->form) : QString());
    windingUp_ = true;
}
