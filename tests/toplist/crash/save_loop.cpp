// save_loop <folder> <list A> <list B>: saves lista99.txt in <folder> over and
// over, alternating between the bytes of the two given list files, until it
// is killed. Prints "ready" once the first save is done. The kill test starts
// it, kills it at a random moment and looks at what the kill left behind.

#include "toplist/BestListFile.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "save_loop: cannot read %s\n", qPrintable(path));
        std::exit(2);
    }
    return file.readAll();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: save_loop <folder> <list A> <list B>\n");
        return 2;
    }
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("lista99.txt"));
    const QByteArray lists[2] = {readWhole(QString::fromLocal8Bit(argv[2])),
                                 readWhole(QString::fromLocal8Bit(argv[3]))};

    for (unsigned long long round = 0;; ++round) {
        const QString failure = saveFileAtomically(path, lists[round % 2]);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "save_loop: saving failed: %s\n", qPrintable(failure));
            return 1;
        }
        if (round == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
