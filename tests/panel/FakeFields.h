#pragma once
// Small in-memory data fields, field collections, word lists and user-defined field
// definitions for the panel and validation tests.

#include "uEwidarQuorDBIntf.h"

#include <QMap>
#include <QString>
#include <QStringList>

class TFakeDataField : public TInterfacedObject<IDataField> {
public:
    explicit TFakeDataField(const QString& Symbol, const QString& Value = {}, const QString& Caption = {},
                            const QString& Kind = {})
        : m_symbol(Symbol), m_value(Value), m_caption(Caption), m_kind(Kind) {}

    void SetCaption(const std::u16string& Text) override { m_caption = QString::fromStdU16String(Text); }
    void SetValue(const std::u16string& Text) override {
        m_value = QString::fromStdU16String(Text);
        ++m_valueWrites;
    }
    void SetFieldType(const std::u16string& Name) override { m_kind = QString::fromStdU16String(Name); }
    std::u16string GetSymbol() override { return m_symbol.toStdU16String(); }
    std::u16string GetCaption() override { return m_caption.toStdU16String(); }
    std::u16string GetValue() override { return m_value.toStdU16String(); }
    std::u16string GetFieldType() override { return m_kind.toStdU16String(); }

    QString m_symbol;
    QString m_value;
    QString m_caption;
    QString m_kind;
    int m_valueWrites = 0;
};

// Fields are created on first request, as a record does for every symbol of its kind.
class TFakeDataFields : public TInterfacedObject<IDataFields> {
public:
    int32_t GetCount() override { return int32_t(m_fields.size()); }
    std::u16string GetSymbol(int32_t Index) override { return m_fields.keys().value(Index).toStdU16String(); }
    TIntfPtr<IDataField> GetDataField(const std::u16string& Symbol) override {
        return TIntfPtr<IDataField>(Field(QString::fromStdU16String(Symbol)));
    }

    TFakeDataField* Field(const QString& Symbol) {
        if (!m_fields.contains(Symbol))
            m_fields.insert(Symbol, TIntfPtr<TFakeDataField>(new TFakeDataField(Symbol)));
        return m_fields.value(Symbol).get();
    }
    void Set(const QString& Symbol, const QString& Value) { Field(Symbol)->m_value = Value; }

    QMap<QString, TIntfPtr<TFakeDataField>> m_fields;
};

class TFakeWordList : public TInterfacedObject<ISlownikField> {
public:
    explicit TFakeWordList(QStringList Words = {}) : m_words(std::move(Words)) {}
    int32_t GetCount() override { return int32_t(m_words.size()); }
    std::u16string GetWord(int32_t Index) override { return m_words.value(Index).toStdU16String(); }
    void AddWord(const std::u16string& Word) override { m_words.append(QString::fromStdU16String(Word)); }
    void DeleteWord(const std::u16string& Word) override {
        m_words.removeAll(QString::fromStdU16String(Word));
    }
    void ChangeWord(const std::u16string& OldWord, const std::u16string& NewWord) override {
        m_words.replaceInStrings(QString::fromStdU16String(OldWord), QString::fromStdU16String(NewWord));
    }

    QStringList m_words;
};

class TFakeSlownik : public TInterfacedObject<ISlownik> {
public:
    int32_t GetLastErrorCode() override { return 0; }
    bool Post() override { return true; }
    bool Delete() override { return true; }
    TIntfPtr<ISlownikField> GetWordList(const std::u16string& Symbol) override {
        const QString symbol = QString::fromStdU16String(Symbol);
        m_requested.append(symbol);
        return m_lists.contains(symbol) ? TIntfPtr<ISlownikField>(m_lists.value(symbol).get()) : nullptr;
    }

    QMap<QString, TIntfPtr<TFakeWordList>> m_lists;
    QStringList m_requested;
};

class TFakeDynamicField : public TInterfacedObject<IDynamicField> {
public:
    int32_t GetLastErrorCode() override { return 0; }
    void SetSymbol(const std::u16string& Text) override { m_symbol = Text; }
    void SetDescription(const std::u16string& Text) override { m_description = Text; }
    void SetFieldType(const std::u16string& Name) override { m_kind = Name; }
    std::u16string GetSymbol() override { return m_symbol; }
    std::u16string GetDescription() override { return m_description; }
    std::u16string GetFieldType() override { return m_kind; }
    bool PostDefinition() override { return true; }
    bool DeleteDefinition() override { return true; }

    std::u16string m_symbol = u"cPoleWlasne";
    std::u16string m_description = u"Pole własne";
    std::u16string m_kind = u"ctEdit";
};
