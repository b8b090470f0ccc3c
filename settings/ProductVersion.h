#pragma once

#include <QString>
#include <cstdint>

// The product version "major.minor.patch.tweak" set in the build; the major
// number also goes to *major when given.
QString GetProductVersion(std::uint16_t* major = nullptr);
