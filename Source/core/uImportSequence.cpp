#include "uImportSequence.h"

#include "uCore.h"
#include "uDataBaseModule.h"
#include "uLoginForm.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <utility>

namespace {

// "Źródłowa baza danych nie może być taka sama jak docelowa."
constexpr uint32_t kSameDataBaseMessage = 317;
// "Nie odnaleziono Biblioteki QuorDataBase.dll lub wystąpił błąd podczas jej uruchamiania."
constexpr uint32_t kNoLibraryMessage = 319;
// A failed import whose backend gave no code.
constexpr uint32_t kImportFailedMessage = 203;

bool SameSymbol(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// The login window decides for a root object that asks for a login.
bool LoggedIn(IImportView& View, IEwidarDataBase* Root) {
    return Root->IsLoggedIn() || ShowLogin(View.ImportOwner(), Root) == lfsLogged;
}

bool Open(IImportView& View, TImportEnd& End, bool Flag) {
    if (!End.Root) {
        ShowUserMessage(kNoLibraryMessage, View.ImportOwner());
        return false;
    }
    // The program's current object is used as it is.
    if (!End.Root.Created())
        return LoggedIn(View, End.Root.get());
    for (;;) {
        View.ShowConnecting();
        if (End.Root->Connect(End.Param, Flag))
            break;
        View.ShowNotConnected();
        ShowUserMessage(static_cast<uint32_t>(End.Root->GetLastErrorCode()), View.ImportOwner());
        if (!View.EditAfterFailure(End.Root.get(), End.Param)) {
            View.ConnectingEnded();
            return false;
        }
    }
    View.ConnectingEnded();
    return LoggedIn(View, End.Root.get());
}

// The same database under two parameter texts: the backend names it by its identifier.
bool SameDataBase(const TImportEnd& Target, const TImportEnd& Source) {
    if (!SameSymbol(toQ(Target.Root->GetDataBaseSymbol()), toQ(Source.Root->GetDataBaseSymbol())))
        return false;
    const std::u16string id = Target.Root->GetDataBaseID();
    return !id.empty() && id == Source.Root->GetDataBaseID();
}

// Puts the target's own progress handler back and ends the view's import state,
// however the import ends.
class TImportRun {
public:
    TImportRun(IImportView& View, IEwidarDataBase* Target)
        : m_view(View), m_target(Target), m_saved(Target->GetOnProgress()) {
        m_target->SetOnProgress(
            [&View](int32_t Percent, bool& Cancel) { View.ImportProgress(Percent, Cancel); });
        m_view.ImportStarted();
    }
    ~TImportRun() {
        m_target->SetOnProgress(m_saved);
        m_view.ImportEnded();
    }
    TImportRun(const TImportRun&) = delete;
    TImportRun& operator=(const TImportRun&) = delete;

private:
    IImportView& m_view;
    IEwidarDataBase* m_target;
    TProgressEvent m_saved;
};

} // namespace

TRootHold::TRootHold(TIntfPtr<IEwidarDataBase> Root, bool Created)
    : m_root(std::move(Root)), m_created(Created) {}

TRootHold::~TRootHold() {
    Reset();
}

TRootHold::TRootHold(TRootHold&& Other) noexcept
    : m_root(std::move(Other.m_root)), m_created(std::exchange(Other.m_created, false)) {}

TRootHold& TRootHold::operator=(TRootHold&& Other) noexcept {
    if (this != &Other) {
        Reset();
        m_root = std::move(Other.m_root);
        m_created = std::exchange(Other.m_created, false);
    }
    return *this;
}

void TRootHold::Reset() {
    if (m_root && m_created)
        m_root->Disconnect();
    m_root.reset();
    m_created = false;
}

TRootHold CurrentRoot() {
    TCore* core = Core();
    if (!core || !core->FDataBaseModule)
        return {};
    return TRootHold(core->FDataBaseModule->FEwidarDataBase, false);
}

TRootHold CreateRoot(const QString& Symbol) {
    TCore* core = Core();
    if (!core || !core->FDataBaseModule || Symbol.isEmpty())
        return {};
    return TRootHold(core->FDataBaseModule->CreateEwidarInterface(Symbol), true);
}

TRootHold RootForSymbol(const QString& Symbol) {
    TRootHold current = CurrentRoot();
    if (current && toQ(current->GetDataBaseSymbol()) == Symbol)
        return current;
    return CreateRoot(Symbol);
}

TImportResult ImportDataBase(IImportView& View, TImportEnd Target, TImportEnd Source) {
    QWidget* owner = View.ImportOwner();
    if (SameSymbol(Target.Symbol, Source.Symbol) &&
        toQ(Target.Param).compare(toQ(Source.Param), Qt::CaseInsensitive) == 0) {
        ShowUserMessage(kSameDataBaseMessage, owner);
        return TImportResult::irNotRun;
    }
    if (!Open(View, Target, true) || !Open(View, Source, false))
        return TImportResult::irNotRun;
    if (SameDataBase(Target, Source)) {
        ShowUserMessage(kSameDataBaseMessage, owner);
        return TImportResult::irNotRun;
    }
    bool imported = false;
    {
        TImportRun run(View, Target.Root.get());
        try {
            imported = Target.Root->ImportFrom(Source.Root.get());
        } catch (...) {
            imported = false;
        }
    }
    View.HideProgress();
    if (imported)
        return TImportResult::irImported;
    const int32_t code = Target.Root->GetLastErrorCode();
    ShowUserMessage(code ? static_cast<uint32_t>(code) : kImportFailedMessage, owner);
    return TImportResult::irFailed;
}
