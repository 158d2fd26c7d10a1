#pragma once
// A list frame over fake collections, with the message presenter and the
// openers replaced by recorders.

#include "FakeMessagePresenter.h"
#include "ListFakes.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarDrawGrid.h"

#include <QApplication>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

struct OpenedRecord {
    TIntfPtr<IEwidarRecord> Record;
    TKontekst Kontekst;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_db = MakeIntf<ListDataBase, ListDataBase>();
        m_frame.SetEwidarDataBase(m_db.get());
        m_frame.resize(500, 300);
        m_frame.SetOnChangeSelected([this](TCollectionBaseFrame*, IEwidarRecord* Record) {
            m_changed.append(TIntfPtr<IEwidarRecord>(Record));
        });
        ListOpeners::SetRecordFormOpener(
            [this](QWidget*, IEwidarRecord* Record, TKontekst Kontekst, IEwidarDataBase*) {
                m_opened.append({TIntfPtr<IEwidarRecord>(Record), Kontekst});
                return m_postAnswer;
            });
        ListOpeners::SetRelationsOpener([this](QWidget*, IEwidarRecord* Record, IEwidarDataBase*) {
            m_relations.append(TIntfPtr<IEwidarRecord>(Record));
        });
    }
    void TearDown() override { ListOpeners::ResetOpeners(); }
    // A list of n banks with ids 1..n named "bank i".
    TIntfPtr<FakeCollection<IDaneBankow>> Banks(int Count) {
        auto banks = MakeCollection<IDaneBankow>();
        for (int i = 1; i <= Count; ++i)
            banks->Add(i, {QStringLiteral("bank %1").arg(i), QStringLiteral("Adres %1").arg(i)});
        return banks;
    }
    TDrawGrid* Grid() { return m_frame.DrawGrid1; }
    QStringList ShownTexts() const {
        QStringList texts;
        for (const TMessageRequest& r : m_messages.Shown)
            texts << r.Text;
        return texts;
    }

    FakeMessagePresenter m_messages;
    TIntfPtr<ListDataBase> m_db;
    TCollectionBaseFrame m_frame;
    QList<TIntfPtr<IEwidarRecord>> m_changed;
    QList<OpenedRecord> m_opened;
    QList<TIntfPtr<IEwidarRecord>> m_relations;
    bool m_postAnswer = false;
};
