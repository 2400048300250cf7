#include "game/FileLocations.h"
#include "ui/FontConfiguration.h"
#include "ui/Form1.h"
#include "ui/QtPlatform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    FontConfigurationReader fonts;  // on another core while Qt starts and the window is made
    QApplication app(argc, argv);
    fonts.applicationMade();
    nameApplication();

    QtPlatform platform;
    Form1 window(platform);
    fonts.wait();
    platform.setWindow(&window);
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
