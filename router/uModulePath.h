#pragma once
// Where the loaded modules of the process lie.

#include <QString>

// Full path of the loaded module (program or library) that contains Address;
// empty when the platform cannot tell.
QString ModuleFilePath(const void* Address);

// Full path of the process's main executable; empty when unknown.
QString MainModuleFilePath();
