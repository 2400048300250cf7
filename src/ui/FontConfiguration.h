#pragma once

#include <future>
#include <thread>

// Reads the system's fonts on a thread of its own while the main thread
// starts Qt and makes the window: fontconfig's configuration and caches
// (about a fifth of the work before the first frame, and needing nothing of
// Qt) from the start, then Qt's list of fonts once the application object
// exists. Qt reads both at the first font the window measures, and would
// otherwise do it there, on the one thread that makes and paints the window.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader &) = delete;
    FontConfigurationReader &operator=(const FontConfigurationReader &) = delete;

    // The application object exists: returns once fontconfig is read, so
    // that Qt never reads it a second time, and lets the thread go on to
    // Qt's list of fonts, which Qt guards with a lock of its own.
    void applicationMade();
    void wait();

private:
    void read();

    std::promise<void> configurationRead_;
    std::future<void> configurationReadSeen_ = configurationRead_.get_future();
    std::promise<bool> applicationMade_;  // false: none will be, list no fonts
    std::future<bool> applicationMadeSeen_ = applicationMade_.get_future();
    bool told_ = false;
    std::thread reader_{[this] { read(); }};  // last: starts with the rest in place
};
