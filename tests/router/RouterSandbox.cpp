#include "RouterSandbox.h"

#include "TestSupport.h"
#include "uRegistry.h"
#include "uStrings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <dlfcn.h>

TRouterSandbox::TRouterSandbox()
    : m_folder(TestSupport::NewTempDir(QStringLiteral("router")) + QLatin1Char('/')) {}

TRouterSandbox::~TRouterSandbox() {
    Unload();
}

QString FixturePath(const QString& Fixture) {
    return QStringLiteral(ROUTER_FIXTURE_DIR "/") + Fixture + QStringLiteral(".so");
}

QString TRouterSandbox::AddFixture(const QString& Fixture, const QString& Name, const QString& Dir) {
    const QString dir = Dir.isEmpty() ? m_folder : Dir;
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(Name.isEmpty() ? Fixture + QStringLiteral(".so") : Name);
    QFile::copy(FixturePath(Fixture), path);
    return path;
}

QString TRouterSandbox::AddFile(const QString& Name, const QByteArray& Content) {
    const QString path = m_folder + Name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(Content);
    return path;
}

bool TRouterSandbox::CopyRouterTo(const QString& Path) {
    return QFile::copy(QStringLiteral(ROUTER_FILE), Path);
}

bool TRouterSandbox::Load() {
    if (m_router)
        return true;
    if (!QFile::exists(RouterPath()) && !CopyRouterTo(RouterPath()))
        return false;
    auto lib = std::make_unique<QLibrary>(RouterPath());
    if (!lib->load())
        return false;
    DBListCount = reinterpret_cast<TDBListCount>(lib->resolve("DBListCount"));
    DBListItem = reinterpret_cast<TDBListItem>(lib->resolve("DBListItem"));
    GetLastError = reinterpret_cast<TGetLastError>(lib->resolve("GetLastError"));
    GetEwidarIntf = reinterpret_cast<TGetEwidarIntf>(lib->resolve("GetEwidarIntf"));
    m_router = std::move(lib);
    return DBListCount && DBListItem && GetLastError && GetEwidarIntf;
}

bool TRouterSandbox::Unload() {
    DBListCount = nullptr;
    DBListItem = nullptr;
    GetLastError = nullptr;
    GetEwidarIntf = nullptr;
    if (m_router) {
        m_router->unload();
        m_router.reset();
    }
    return !IsLibraryLoaded(RouterPath());
}

QFunctionPointer TRouterSandbox::Resolve(const char* Name) const {
    return m_router ? m_router->resolve(Name) : nullptr;
}

std::vector<TListed> TRouterSandbox::List() const {
    std::vector<TListed> list;
    const int32_t n = DBListCount();
    for (int32_t i = 0; i < n; ++i) {
        std::u16string symbol, caption;
        const bool result = DBListItem(i, symbol, caption);
        list.push_back({toQ(symbol), toQ(caption), result});
    }
    return list;
}

TIntfPtr<IEwidarDataBase> TRouterSandbox::Root(const QString& Symbol) const {
    IEwidarDataBase* root = nullptr;
    GetEwidarIntf(toU16(Symbol), &root);
    return TIntfPtr<IEwidarDataBase>::adopt(root);
}

TIntfPtr<IInterface> TRouterSandbox::Sibling(const char* Export, const QString& Symbol) const {
    auto fn = reinterpret_cast<TGetIntf>(Resolve(Export));
    if (!fn)
        return {};
    IInterface* root = nullptr;
    fn(toU16(Symbol), &root);
    return TIntfPtr<IInterface>::adopt(root);
}

bool TRouterSandbox::LastError(int32_t Code, QString& Text, QString& Link) const {
    std::u16string text = u"before", link = u"before";
    const bool result = GetLastError(Code, u"DB1", text, link);
    Text = toQ(text);
    Link = toQ(link);
    return result;
}

bool IsLibraryLoaded(const QString& Path) {
    void* handle = dlopen(QFile::encodeName(Path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

void SetRegisteredBackends(const QStringList& Paths) {
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorsys"));
        settings.remove(QStringLiteral("DLLs/DBs"));
    }
    for (int i = 0; i < Paths.size(); ++i)
        Registry::WriteString(QStringLiteral("Software\\Quorsys\\DLLs\\DBs"),
                              QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')), Paths[i]);
}

QString RootID(IInterface* Root) {
    const TIntfPtr<ICustomDataBase> db = Supports<ICustomDataBase>(Root);
    return db ? toQ(db->GetDataBaseID()) : QString();
}
