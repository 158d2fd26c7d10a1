#pragma once
// IDataFields and IDataField over a record's shared state. Values, captions and
// editor-kind names are kept as the program writes them; a caption or kind never
// written reads as the symbol table's.

#include "uEwidarQuorDBIntf.h"
#include "uSqlRecordState.h"

class TSqlDataFields final : public TInterfacedObject<IDataFields> {
public:
    explicit TSqlDataFields(TRecordStatePtr State) : m_s(std::move(State)) {}

    int32_t GetCount() override;
    std::u16string GetSymbol(int32_t Index) override;
    TIntfPtr<IDataField> GetDataField(const std::u16string& Symbol) override;

private:
    TRecordStatePtr m_s;
};

class TSqlDataField final : public TInterfacedObject<IDataField> {
public:
    TSqlDataField(TRecordStatePtr State, QString Symbol)
        : m_s(std::move(State)), m_symbol(std::move(Symbol)) {}

    void SetCaption(const std::u16string& Text) override;
    void SetValue(const std::u16string& Text) override;
    void SetFieldType(const std::u16string& Name) override;
    std::u16string GetSymbol() override;
    std::u16string GetCaption() override;
    std::u16string GetValue() override;
    std::u16string GetFieldType() override;

private:
    // The value slot, created when missing (the state may have been re-read since).
    TFieldValue* Slot();
    void Set(QString TFieldValue::*Member, const std::u16string& Text);

    TRecordStatePtr m_s;
    QString m_symbol;
};
