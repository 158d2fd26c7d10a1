#include "uBackendLibrary.h"

#include <QFileInfo>

TBackendLibrary::TBackendLibrary(const QString& Path) {
    if (Path.isEmpty() || !QFileInfo(Path).isFile())
        return;
    auto lib = std::make_unique<QLibrary>(Path);
    lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (lib->load())
        m_lib = std::move(lib);
}

TBackendLibrary::~TBackendLibrary() {
    if (m_lib)
        m_lib->unload();
}

QFunctionPointer TBackendLibrary::Resolve(const char* Name) const {
    return m_lib ? m_lib->resolve(Name) : nullptr;
}
