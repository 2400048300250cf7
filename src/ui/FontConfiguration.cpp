#include "ui/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

FontConfigurationReader::FontConfigurationReader() : reader_([] { FcInit(); }) {}

FontConfigurationReader::~FontConfigurationReader()
{
    wait();
}

void FontConfigurationReader::wait()
{
    if (reader_.joinable())
        reader_.join();
}
