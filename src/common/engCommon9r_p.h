#pragma once
// The package's own side of the shared unit, not installed for hosts: how a
// piece of work opens the settings file and the other file objects that live
// only while it runs. A host sees only the handles (engCommon9r.h).

#include "common/engCommon9r.h"

#include <functional>
#include <utility>

/// Holds a new T in a shared global pointer for the length of a scope (the
/// settings file objects, which live only while one piece of work runs) and
/// frees it, setting the global back to null, on every path.
template <class T>
class TScopedGlobal
{
public:
    template <class... Args>
    explicit TScopedGlobal(T *&global, Args &&...args) : m_global(global)
    {
        m_global = new T(std::forward<Args>(args)...);
    }
    ~TScopedGlobal()
    {
        delete m_global;
        m_global = nullptr;
    }
    TScopedGlobal(const TScopedGlobal &) = delete;
    TScopedGlobal &operator=(const TScopedGlobal &) = delete;
    T &operator*() const { return *m_global; }
    T *operator->() const { return m_global; }

private:
    T *&m_global;
};

/// The one way the package opens its settings file: creates the file object on
/// gl_sRecognizeIniFileName in gl_RecognizeIniFile, runs work with it, and
/// frees it and sets gl_RecognizeIniFile back to null on every path (an
/// exception from work propagates after the cleanup). Writers call
/// UpdateFile() themselves, as the file is flushed only where it was written.
void WithRecognizeIniFile(const std::function<void(TSettingsFile &ini)> &work);
