#pragma once

#include <memory>

// Reads the system's font configuration on a second thread while the
// program starts, so that the first use of a font does not wait for it.
// Made before QApplication; Wait() before anything lists the fonts.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    void Wait();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
