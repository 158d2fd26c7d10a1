#pragma once
// A library loaded by full path for the router's own use.

#include <QLibrary>

#include <memory>

// Loads with every symbol bound at once, so that a library with unresolved
// symbols fails to load here instead of failing later inside a call (as a
// Windows library with a missing import does). Unloads when destroyed.
class TBackendLibrary {
public:
    explicit TBackendLibrary(const QString& Path);
    ~TBackendLibrary();
    TBackendLibrary(TBackendLibrary&&) noexcept = default;
    TBackendLibrary& operator=(TBackendLibrary&&) noexcept = default;
    TBackendLibrary(const TBackendLibrary&) = delete;
    TBackendLibrary& operator=(const TBackendLibrary&) = delete;

    bool IsLoaded() const { return m_lib != nullptr; }
    // The export's address, or nullptr when not loaded or not exported.
    QFunctionPointer Resolve(const char* Name) const;

private:
    std::unique_ptr<QLibrary> m_lib;
};
