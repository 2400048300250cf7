#pragma once

#include <thread>

// Reads the system's font configuration (fontconfig's files and caches) on a
// thread of its own. Qt reads it at the first font it measures, and it is
// about a fifth of the work before the first frame; started before the
// application object, it is done on a second core while Qt connects to the
// display. Call wait() before the first font is used: Qt would otherwise
// read the configuration a second time.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader &) = delete;
    FontConfigurationReader &operator=(const FontConfigurationReader &) = delete;

    void wait();

private:
    std::thread reader_;
};
