#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <thread>

// Qt's font database starts with FcInit(); done here first, it finds the
// configuration already read.
struct FontWarmUp::Private {
    std::thread thread{[] { FcInit(); }};
};

FontWarmUp::FontWarmUp() : d(std::make_unique<Private>()) {}

FontWarmUp::~FontWarmUp()
{
    Wait();
}

void FontWarmUp::Wait()
{
    if (d->thread.joinable())
        d->thread.join();
}
