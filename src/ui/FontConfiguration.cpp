#include "ui/FontConfiguration.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>

FontConfigurationReader::FontConfigurationReader() = default;

FontConfigurationReader::~FontConfigurationReader()
{
    wait();
}

void FontConfigurationReader::read()
{
    FcInit();
    configurationRead_.set_value();
    if (applicationMadeSeen_.get())
        QFontDatabase::families();
}

void FontConfigurationReader::applicationMade()
{
    if (told_)
        return;
    configurationReadSeen_.wait();
    applicationMade_.set_value(true);
    told_ = true;
}

void FontConfigurationReader::wait()
{
    if (!told_) {
        applicationMade_.set_value(false);
        told_ = true;
    }
    if (reader_.joinable())
        reader_.join();
}
