#pragma once

#include "CReaderMod.h"

#include <QString>
#include <memory>

// Holds the reader module chosen for one operation, and what is known of it.
class CFelicaMod
{
public:
    enum Family { Pcsc = 0, VendorLibrary = 1, VendorLibraryMissing = 2 };

    virtual ~CFelicaMod() = default;

    int family = Pcsc;
    QString readerName;
    int modelIndex = 0; // row of the known-reader table, 1-8; 0 for none
    int spare = 0;
    std::unique_ptr<CReaderMod> module;
};
