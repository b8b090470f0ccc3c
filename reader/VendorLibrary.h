#pragma once

#include <QString>
#include <memory>

// The vendor's FeliCa library, loaded at run time (the per-OS parts are in
// unix/ and windows/). On Windows a bare name is looked for in the program's
// folder and the system folder only, and what the library needs in its own
// folder, the program's and the system's: never in the current folder, where
// any file of that name would be run as ours.
class VendorLibrary
{
public:
    VendorLibrary();
    ~VendorLibrary();
    VendorLibrary(const VendorLibrary&) = delete;
    VendorLibrary& operator=(const VendorLibrary&) = delete;

    // False when there is no such library, or it cannot be loaded.
    bool Load(const QString& path);
    bool IsLoaded() const;
    // The entry point, or null.
    void* Resolve(const char* name) const;
    void Unload();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
