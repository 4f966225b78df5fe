// tlvdb: the command-line companion of TilvarBD.

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "usage: tlvdb dump|check|resave|consign ...\n";
    return 2;
}
