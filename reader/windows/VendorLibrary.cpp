#include "VendorLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <string>
#include <windows.h>

struct VendorLibrary::Private {
    HMODULE module = nullptr;
};

VendorLibrary::VendorLibrary() : d(std::make_unique<Private>()) {}

VendorLibrary::~VendorLibrary()
{
    Unload();
}

bool VendorLibrary::Load(const QString& path)
{
    Unload();
    if (path.isEmpty())
        return false;
    // A bare name: the program's folder, then the system's. A path: that
    // file, with what it needs from its own folder, the program's and the
    // system's. Neither the current folder nor PATH is ever searched.
    const bool bare = !path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char('\\'));
    const std::wstring name =
        QDir::toNativeSeparators(bare ? path : QFileInfo(path).absoluteFilePath()).toStdWString();
    const DWORD search = bare ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                              : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
                                    LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                                    LOAD_LIBRARY_SEARCH_SYSTEM32;
    // No "insert the disk" box for a library that is not there.
    const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    d->module = LoadLibraryExW(name.c_str(), nullptr, search);
    SetErrorMode(errorMode);
    return d->module != nullptr;
}

bool VendorLibrary::IsLoaded() const
{
    return d->module != nullptr;
}

void* VendorLibrary::Resolve(const char* name) const
{
    return d->module ? reinterpret_cast<void*>(GetProcAddress(d->module, name)) : nullptr;
}

void VendorLibrary::Unload()
{
    if (d->module)
        FreeLibrary(d->module);
    d->module = nullptr;
}
