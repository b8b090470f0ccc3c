#include "FontWarmUp.h"

// Platforms whose fonts need no warming up.
struct FontWarmUp::Private {
};

FontWarmUp::FontWarmUp() : d(std::make_unique<Private>()) {}

FontWarmUp::~FontWarmUp() = default;

void FontWarmUp::Wait() {}
