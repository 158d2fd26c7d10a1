#pragma once
// The record kinds of the section frames as the tests meet them: for each kind the
// frame's class, a context it serves, where a new record of the kind comes from, and
// the panels with the field symbols they must store. Written from the frame table, not
// from the frames' declarations, so a frame bound to a wrong symbol fails.

#include "EditingFixture.h"
#include "uEwidarQuorDBSymbole.h"
#include "uKontekst.h"

#include <QList>
#include <QPair>

class TBaseFrame;

// What a new record of a kind hangs on: a stored taxpayer and a stored company.
struct TKindOwners {
    IEwidarRegistries* Registries = nullptr;
    IPodmiot* Podmiot = nullptr;
    ISpolka* Spolka = nullptr;
};

struct TFrameKind {
    const char* Frame;
    TKontekst Serves;
    // The collection a new record of the kind is added to.
    TIntfPtr<IEwidarCollection> (*Collection)(const TKindOwners& Owners);
    // Panel name and the symbol it stores, in the order the frame lists (and posts) its panels.
    QList<QPair<const char*, QString>> Panels;
};

// The nineteen section frames in the order of the record window's kind table.
const QList<TFrameKind>& FrameKinds();
// The kind whose frame has that class name.
const TFrameKind& KindOf(const char* Frame);

class FramesTest : public EditingTest {
protected:
    void SetUp() override;
    void TearDown() override;

    TKindOwners Owners() {
        return {m_registries.get(), Supports<IPodmiot>(m_podatnik).get(), m_spolka.get()};
    }
    // A new record of the kind, added to its owner's collection.
    TIntfPtr<IEwidarRecord> NewRecord(const TFrameKind& Kind);
    // The stored record read again through a second connection; empty when it is not found.
    TIntfPtr<IEwidarRecord> Reread(const TFrameKind& Kind, int32_t ID);
    // The record's frame in a host window, bound in the context.
    TBaseFrame* Host(const TIntfPtr<IEwidarRecord>& Record, TKontekst Kontekst);

    TIntfPtr<IEwidarRegistries> m_registries;
    TIntfPtr<IEwidarRecord> m_podatnik;
    TIntfPtr<ISpolka> m_spolka;
    std::unique_ptr<QWidget> m_host;
    TIntfPtr<IEwidarDataBase> m_second;
};
