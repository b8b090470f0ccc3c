#include "VendorLibrary.h"

#include <QLibrary>

struct VendorLibrary::Private {
    QLibrary library;
};

VendorLibrary::VendorLibrary() : d(std::make_unique<Private>()) {}

VendorLibrary::~VendorLibrary() = default;

bool VendorLibrary::Load(const QString& path)
{
    d->library.setFileName(path);
    return !path.isEmpty() && d->library.load();
}

bool VendorLibrary::IsLoaded() const
{
    return d->library.isLoaded();
}

void* VendorLibrary::Resolve(const char* name) const
{
    return reinterpret_cast<void*>(d->library.resolve(name));
}

void VendorLibrary::Unload()
{
    if (d->library.isLoaded())
        d->library.unload();
}
