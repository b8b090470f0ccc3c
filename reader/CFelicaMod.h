#pragma once

#include "CReaderMod.h"

#include <QString>
#include <memory>

// Holds the reader module chosen for one operation, and what is known of it.
class CFelicaMod
{
public:
    enum Family { Pcsc = 0, VendorLibrary = 1, VendorLibraryMissing = 2, Usb = 3 };

    virtual ~CFelicaMod() = default;

    int family = Pcsc;
    QString readerName; // PC/SC's name, the USB reader's model, or the library's own
    int modelIndex = 0; // row of the known-reader table, 1-8; 0 for none
    int spare = 0;
    std::unique_ptr<CReaderMod> module;
};
