#pragma once
#include <QString>
#include <stdexcept>

/// The recognition package opened at run time, as the access-control host
/// opens its plug-ins; its documented names are resolved with dlsym.
class PackageLoader
{
public:
    /// Loads librecognition9r.so from the host executable's folder, else from
    /// the loader's search path; throws std::runtime_error with the loader's
    /// text when it cannot.
    PackageLoader();
    ~PackageLoader();
    PackageLoader(const PackageLoader &) = delete;
    PackageLoader &operator=(const PackageLoader &) = delete;

    QString Path() const { return m_path; }

    /// The address of an exported name; throws when the package lacks it.
    void *Resolve(const char *name) const;
    template <class T> T *Variable(const char *name) const { return static_cast<T *>(Resolve(name)); }
    template <class F> F Function(const char *name) const { return reinterpret_cast<F>(Resolve(name)); }

private:
    QString m_path;
    void *m_handle = nullptr;
};
