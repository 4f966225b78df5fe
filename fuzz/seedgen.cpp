// Writes the starting corpus of every fuzz target with the program's own
// writers, so the fuzzers begin from valid files instead of noise.
//   seedgen OUTDIR  ->  OUTDIR/<target>/seed-N

#include "seedData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: seedgen OUTDIR\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const auto seeds = seedData::all();
    for (auto it = seeds.cbegin(); it != seeds.cend(); ++it) {
        const QString dir = out + QLatin1Char('/') + it.key();
        QDir().mkpath(dir);
        int n = 0;
        for (const QByteArray& bytes : it.value()) {
            QFile f(dir + QStringLiteral("/seed-%1").arg(n++));
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
                QTextStream(stderr) << "seedgen: cannot write " << f.fileName() << "\n";
                return 1;
            }
        }
    }
    return 0;
}
