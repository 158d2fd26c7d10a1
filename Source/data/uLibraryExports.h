#pragma once
// What every library of the program exports the same way: its file version, and the
// guard that keeps an exception from crossing an export.

#include "uIntf.h"

#include <QString>

#include <string>

// Hands the interface made by Make to an export's out parameter: nothing when Out is
// null, a null interface when Make throws. Make returns an acquired raw pointer.
template <class T, class F> void HandOutIntf(T** Out, F&& Make) noexcept {
    if (!Out)
        return;
    *Out = nullptr;
    try {
        *Out = Make();
    } catch (...) {
        *Out = nullptr;
    }
}

// The library's file version ("1.2.3.0") into Version; empty when it cannot be written.
inline void WriteFileVersion(const char* FileVersion, std::u16string& Version) noexcept {
    try {
        Version = QString::fromLatin1(FileVersion).toStdU16String();
    } catch (...) {
        Version.clear();
    }
}

// Defines the library's "GetFileVersion" export, reporting FILE_VERSION.
#define EWIDAR_EXPORT_FILE_VERSION(FILE_VERSION)                                                     \
    extern "C" EWIDAR_EXPORT void GetFileVersion(std::u16string& Version) {                          \
        WriteFileVersion(FILE_VERSION, Version);                                                     \
    }
