// game_script FOLDER LOG SEED [MOMENT]: plays scripted games in the real window in
// FOLDER (offscreen, with the fake platform's answers: yes to every question,
// so a game left unfinished is resumed) until it is killed. Once the window
// is up it prints "ready ENTRIES HASH MOMENT"; after every step it appends
// to LOG "ENTRIES HASH MOMENT": the entries of the game being played (0 when
// none is), a hash of everything the window shows, and what kind of moment it
// is. What the window shows is written whole to LOG.ready once it is up, and
// to LOG.last after every step, for a failure to show what differed. Given a
// MOMENT ("entry", "undo", ...), it stops there, prints "at MOMENT" and
// waits to be killed.
#include "WindowFixture.h"

#include "game/PerfectPlayTable.h"

#include <QCryptographicHash>
#include <QGroupBox>
#include <QRandomGenerator>
#include <cstdio>

#include <csignal>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QByteArray stateLine(const Form1 &f)
{
    const bool playing = f.MenuPeli->menuAction()->isEnabled() || f.Frame99ListaPohja->isVisible();
    const QByteArray hash = QCryptographicHash::hash(windowState(f, ListView::IfMarked).join(u'\n').toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(16);
    const auto last = [&f](GameRecord::Kind kind) {
        return !f.record.entries.empty() && f.record.entries.back().kind == kind;
    };
    const char *moment = !playing                                      ? "idle"
                         : f.Frame99ListaPohja->isVisible()            ? "entry"
                         : f.computerToPlay()                          ? "computer"
                         : last(GameRecord::Kind::Undo)                ? "undo"
                         : last(GameRecord::Kind::KeepAll)             ? "keep-all"
                         : last(GameRecord::Kind::Mark)                ? "marks"
                                                                       : "turn";
    return QByteArray::number(playing ? qulonglong(f.record.entries.size()) : 0) + ' ' + hash + ' ' + moment;
}

class Script {
public:
    Script(Form1 &form, FakePlatform &platform, quint32 seed) : platform_(platform), f_(form), random_(seed) {}

    void step()
    {
        if (f_.programEnded())
            return;
        // Once the window is up, or a game resumed at start-up waits for a
        // best-99 name: what the window shows then is what it was left as.
        if (!started_) {
            if (!f_.fullyStarted() && !f_.Frame99ListaPohja->isVisible())
                return;
            started_ = true;
            if (ready)
                ready(f_);
        }
        ++depth_;
        act();
        --depth_;
    }

    std::function<void(const Form1 &)> ready;
    std::function<void(const Form1 &)> stepped;

private:
    template <typename T>
    T *any(const std::vector<T *> &from)
    {
        return from[std::size_t(random_.bounded(int(from.size())))];
    }
    bool chance(int percent) { return int(random_.bounded(100)) < percent; }

    void act()
    {
        Form1 &f = f_;
        if (f.Frame99ListaPohja->isVisible()) {
            // A name is typed for a few steps, so that a kill finds the entry open.
            if (++typing_ < 4)
                return done();
            typing_ = 0;
            f.Txt99ListaNimi->setText(QStringLiteral("Skripti"));
            click(f.Cmd99ListaOK);
            return done();
        }
        if (depth_ > 1)
            return;  // inside the entry's wait nothing else is played
        if (f.CmdAloitaPeli->isVisible()) {
            static const QStringList names = {QStringLiteral("Anna"), QStringLiteral("Pekka"), QStringLiteral("Liisa"),
                                              QStringLiteral("Kone 2"), QStringLiteral("Kone")};
            const int players = 1 + int(random_.bounded(3));
            click(f.playerCountOptions[std::size_t(players - 1)]);
            for (int p = 0; p < players; ++p)
                f.ComboNimi[std::size_t(p)]->setCurrentText(names[chance(20) ? 3 + int(random_.bounded(2)) : p]);
            click(f.CmdAloitaPeli);
        } else if (f.gameOver) {
            click(f.CmdKaikkiUudelleen);  // "&Uusi peli"
        } else if (f.computerToPlay()) {
            platform_.runComputerStep();
        } else if (chance(3) && f.MenuPeruutus->menuAction()->isEnabled()) {
            f.MenuEdellisenValinnanPeruutus->trigger();
        } else if (random_.bounded(2000) == 0) {
            f.MenuUusiksi->trigger();  // given up now and then: the question is answered yes
        } else if (f.mayRecord && !f.CmdSäästäKaikki->isEnabled() && !f.CmdValitutUudelleen->isEnabled()) {
            std::vector<EventLabel *> rows;
            for (int code = 1; code <= category::count; ++code) {
                if (f.categoryUsed[std::size_t(f.currentPlayer)][std::size_t(code)] == 0 || chance(3))
                    rows.push_back(f.categoryHeadings[std::size_t(code)]);
            }
            click(any(rows));
        } else {
            std::vector<QWidget *> moves;
            for (QWidget *control : std::initializer_list<QWidget *>{f.CmdKaikkiUudelleen, f.CmdValitutUudelleen,
                                                                     f.CmdSäästäKaikki, f.dice[0], f.dice[1],
                                                                     f.dice[2], f.dice[3], f.dice[4]}) {
                if (control->isEnabled())
                    moves.push_back(control);
            }
            if (!moves.empty())
                click(any(moves));
        }
        done();
    }

    void done()
    {
        if (stepped)
            stepped(f_);
    }

    FakePlatform &platform_;
    Form1 &f_;
    bool started_ = false;
    QRandomGenerator random_;
    int depth_ = 0;
    int typing_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies takes its script with it
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5)
        return 2;
    const QByteArray target = args.value(4).toUtf8();
    const int log = ::open(QFile::encodeName(args[2]).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (log < 0)
        return 2;
    // The computer plays once the table is made: kills should find it playing.
    perfectPlayTable::wait();

    FakePlatform platform;
    platform.folder = args[1];
    platform.answers = QList<bool>(100000, true);
    platform.computerWaits = true;
    Form1 form(platform);
    if (!form.Form_Load())
        return 1;
    const auto dump = [](const Form1 &f, const QString &path) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(windowState(f, ListView::IfMarked).join(u'\n').toUtf8());
    };
    // The script's steps run from the start, also in the wait of a resumed
    // game's best-99 entry, with a pause between them as a player makes:
    // most kills find the window between two actions, the rest in one.
    Script script(form, platform, args[3].toUInt() ^ quint32(::getpid()));
    script.ready = [dump, path = args[2] + QStringLiteral(".ready")](const Form1 &f) {
        dump(f, path);
        const QByteArray ready = "ready " + stateLine(f) + '\n';
        std::fputs(ready.constData(), stdout);
        std::fflush(stdout);
    };
    bool stopped = false;
    script.stepped = [log, dump, last = args[2] + QStringLiteral(".last"), target, &stopped](const Form1 &f) {
        const QByteArray line = stateLine(f) + '\n';
        if (::write(log, line.constData(), std::size_t(line.size())) != line.size())
            std::_Exit(3);
        dump(f, last);
        if (!target.isEmpty() && line.trimmed().endsWith(' ' + target)) {
            stopped = true;
            std::fputs("at " + target + '\n', stdout);
            std::fflush(stdout);
        }
    };
    // Each step comes from a timer of its own: a repeating timer does not
    // fire again inside its own handler, where the best-99 entry waits.
    std::function<void()> next = [&] {
        if (stopped)
            return;
        QTimer::singleShot(2, next);
        script.step();
    };
    QTimer::singleShot(2, next);
    form.show();
    return app.exec();
}
