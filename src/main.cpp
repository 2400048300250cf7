#include "game/FileLocations.h"
#include "ui/Form1.h"
#include "ui/QtPlatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    nameApplication();

    QtPlatform platform;
    Form1 window(platform);
    platform.setWindow(&window);
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
