#include "WindowFixture.h"

#include "game/Windows1252.h"

#include <QFile>

ProgramFolder::ProgramFolder()
{
    write(QStringLiteral("nimet.txt"), QByteArray("Anna\r\nPekka\r\n"));
    write(QStringLiteral("lista99.txt"), listFileBytes(makeList([](int i) { return 300 - 2 * i; })));
}

void ProgramFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(file(name)));
    f.write(bytes);
}

QByteArray ProgramFolder::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ProgramFolder::remove(const QString &name) const
{
    QFile::remove(file(name));
}

BestList makeList(const std::function<int(int)> &score)
{
    BestList list;
    for (int i = 0; i < bestListPlaces; ++i) {
        list.names[std::size_t(i)] = QStringLiteral("Nimi%1").arg(i + 1);
        list.dates[std::size_t(i)] = QStringLiteral("01.01.26");
        list.scores[std::size_t(i)] = std::int16_t(score(i));
    }
    return list;
}

QByteArray listFileBytes(const BestList &list)
{
    return formatBestList(list, computeCheckNumbers(list));
}

Window::Window(const ProgramFolder &folder)
{
    platform.folder = folder.path();
    form = std::make_unique<Form1>(platform);
    loaded = form->Form_Load();
    if (loaded) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("window not exposed");
    }
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

bool choose(QMenu *menu, QAction *item)
{
    if (!menu->menuAction()->isEnabled() || !item->isEnabled())
        return false;
    item->trigger();
    return true;
}

void startGame(Form1 &form, int players, const QStringList &names)
{
    click(form.playerCountOptions[std::size_t(players - 1)]);
    for (int k = 0; k < names.size(); ++k)
        form.ComboNimi[std::size_t(k)]->setCurrentText(names[k]);
    click(form.CmdAloitaPeli);
}

void throwAll(Form1 &form, const Dice &values)
{
    click(form.CmdKaikkiUudelleen);
    form.diceValues = values;
}

void record(Form1 &form, int code, const Dice &values)
{
    throwAll(form, values);
    if (form.CmdSäästäKaikki->isEnabled())
        click(form.CmdSäästäKaikki);
    click(form.categoryHeadings[std::size_t(code)]);
}

void whenWaiting(std::function<void()> action)
{
    QTimer::singleShot(0, std::move(action));
}
