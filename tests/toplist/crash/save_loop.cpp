// save_loop <folder>: stores results in lista99.txt in <folder> over and
// over, as a window stores a result (lock, re-read, enter, atomic save):
// result k is named R<k> with 1000 + k points, above all before it. Prints k
// once it is stored, until it is killed. The kill test kills it at a random
// moment and looks at what the kill left behind.

#include "toplist/SafeListWrite.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_loop <folder>\n");
        return 2;
    }
    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("lista99.txt"));
    // Far more than a kill lets it store; the points stay within the file's range.
    for (int k = 0; k <= 30000; ++k) {
        const ListChangeOutcome outcome = changeBestListFile(path, [k](BestList &list) {
            enterResult(list, {QStringLiteral("R%1").arg(k), QStringLiteral("07.12.26"), std::int16_t(1000 + k)});
        });
        if (!outcome.saved) {
            std::fprintf(stderr, "save_loop: saving failed: %s\n", qPrintable(outcome.failure));
            return 1;
        }
        std::printf("%d\n", k);
        std::fflush(stdout);
    }
    return 0;
}
