// TilvarBD: the boutique's consignment database.

#include "ui/shell/main.h"
#include "ui/shell/singleInstance.h"
#include "ui/shell/translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // A second start only brings the running window to the front.
    TSingleInstance instance;
    if (instance.checkSingleInstance())
        return 0;

    QApplication::setApplicationName(QStringLiteral("TilvarBD"));
    loadFrenchTranslations(app);

    TStartOptions options;
    options.progDir = QCoreApplication::applicationDirPath();
    TmainForm window(options);
    QObject::connect(&instance, &TSingleInstance::activateRequested, &window, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return app.exec();
}
