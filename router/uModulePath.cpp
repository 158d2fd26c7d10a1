#include "uModulePath.h"

#include <QCoreApplication>
#include <QFileInfo>

#if defined(_WIN32)
#include <windows.h>

#include <iterator>
#else
#include <dlfcn.h>
#endif

QString ModuleFilePath(const void* Address) {
#if defined(_WIN32)
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(Address), &module))
        return QString();
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(module, buffer, DWORD(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer))
        return QString();
    return QFileInfo(QString::fromWCharArray(buffer, int(length))).absoluteFilePath();
#else
    Dl_info info{};
    if (!dladdr(Address, &info) || !info.dli_fname || !*info.dli_fname)
        return QString();
    const QFileInfo file(QString::fromLocal8Bit(info.dli_fname));
    // The main program is reported under the name it was started with, which
    // need not contain a folder.
    if (!file.isFile())
        return QString();
    return file.absoluteFilePath();
#endif
}

QString MainModuleFilePath() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
#if defined(_WIN32)
    return ModuleFilePath(reinterpret_cast<const void*>(GetModuleHandleW(nullptr)));
#else
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? self.canonicalFilePath() : QString();
#endif
}
