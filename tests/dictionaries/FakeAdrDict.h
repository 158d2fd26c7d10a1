#pragma once
// An in-process stand-in for the address-dictionary library's root interface whose
// cursors can be told to misbehave.

#include "Kwadrel_Intf.h"
#include "uDictionaryRecord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

struct TFakeTable {
    std::vector<QStringList> Rows;
    bool NoCursor = false;
    std::optional<int> Count; // the count the cursor reports; none: the real one
    int ThrowAtRow = -1;      // reading this row throws
    int GeneratedRows = 0;    // rows made up on demand ("row N" in every column) instead of Rows
    // Called before each row is read (may sleep or block).
    std::function<void(int Row)> BeforeRow;
};

class TFakeCursor final : public TInterfacedObject<IAdrDictCursor> {
public:
    explicit TFakeCursor(const TFakeTable& Table) : m_table(Table) {}
    int32_t RecordCount() override { return m_table.Count.value_or(Size()); }
    void First() override { m_row = 0; }
    bool Eof() override { return m_row >= Size(); }
    void Next() override { ++m_row; }
    std::u16string FieldValue(int32_t Index) override {
        if (Index == 0 && m_table.BeforeRow)
            m_table.BeforeRow(m_row);
        if (m_row == m_table.ThrowAtRow)
            throw std::runtime_error("broken row");
        if (m_table.GeneratedRows)
            return QStringLiteral("row %1").arg(m_row).toStdU16String();
        return m_table.Rows[size_t(m_row)].value(Index).toStdU16String();
    }

private:
    int Size() const { return m_table.GeneratedRows ? m_table.GeneratedRows : int(m_table.Rows.size()); }
    const TFakeTable& m_table;
    int m_row = 0;
};

// Tables by TDictionaryType; every cursor reads its table in place.
class TFakeAdrDict final : public TInterfacedObject<IAdrDictIntf> {
public:
    std::array<TFakeTable, cDictionaryTypeCount> Tables;
    std::atomic<int> Requests{0};

    void GetKraje(bool, const std::u16string&, const std::u16string&, IAdrDictCursor** Out) override {
        Give(dtKraje, Out);
    }
    bool GetNazwaKraju(const std::u16string&, std::u16string&) override { return false; }
    void GetWojewodztwa(bool, IAdrDictCursor** Out) override { Give(dtWojewodztwa, Out); }
    void GetPowiaty(bool, const std::u16string&, const std::u16string&, IAdrDictCursor** Out) override {
        Give(dtPowiaty, Out);
    }
    void GetGminy(bool, const std::u16string&, const std::u16string&, const std::u16string&,
                  IAdrDictCursor** Out) override {
        Give(dtGminy, Out);
    }
    void GetMiejscowosci(bool, const std::u16string&, const std::u16string&, const std::u16string&,
                         const std::u16string&, int32_t, IAdrDictCursor** Out) override {
        Give(dtMiejscowosci, Out);
    }
    bool GetNazwaWojewodztwa(const std::u16string&, std::u16string&) override { return false; }
    void GetUrzedySkarbowe(bool, const std::u16string&, const std::u16string&, const std::u16string&,
                           IAdrDictCursor** Out) override {
        Give(dtUS, Out);
    }

private:
    void Give(TDictionaryType Type, IAdrDictCursor** Out) {
        ++Requests;
        *Out = nullptr;
        if (Tables[Type].NoCursor)
            return;
        *Out = new TFakeCursor(Tables[Type]);
        (*Out)->AddRef();
    }
};
