#include "uSqlFields.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlErrors.h"

// These objects carry no error code of their own: a failure to read the values
// (connection closed, storage error) leaves the field empty and sets the error
// code of the record they belong to.

int32_t TSqlDataFields::GetCount() {
    try {
        return static_cast<int32_t>(m_s->Symbols().size());
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return 0;
    }
}

std::u16string TSqlDataFields::GetSymbol(int32_t Index) {
    try {
        const QStringList& symbols = m_s->Symbols();
        if (Index < 0 || Index >= symbols.size())
            return {};
        return symbols[Index].toStdU16String();
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return {};
    }
}

TIntfPtr<IDataField> TSqlDataFields::GetDataField(const std::u16string& Symbol) {
    try {
        const QString symbol = QString::fromStdU16String(Symbol);
        if (symbol.isEmpty() || !m_s->Field(symbol, true))
            return {};
        return MakeIntf<IDataField, TSqlDataField>(m_s, symbol);
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return {};
    }
}

TFieldValue* TSqlDataField::Slot() {
    return m_s->Field(m_symbol, true);
}

void TSqlDataField::Set(QString TFieldValue::*Member, const std::u16string& Text) {
    try {
        TFieldValue* f = Slot();
        const QString text = QString::fromStdU16String(Text);
        if (f && f->*Member != text) {
            f->*Member = text;
            f->dirty = true;
        }
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
    }
}

void TSqlDataField::SetCaption(const std::u16string& Text) {
    Set(&TFieldValue::caption, Text);
}
void TSqlDataField::SetValue(const std::u16string& Text) {
    Set(&TFieldValue::value, Text);
}
void TSqlDataField::SetFieldType(const std::u16string& Name) {
    Set(&TFieldValue::type, Name);
}

std::u16string TSqlDataField::GetSymbol() {
    return m_symbol.toStdU16String();
}

std::u16string TSqlDataField::GetCaption() {
    try {
        const TFieldValue* f = Slot();
        if (f && !f->caption.isEmpty())
            return f->caption.toStdU16String();
        const TInternalFieldRecord* d = FindField(m_symbol);
        return d ? d->Description.toStdU16String() : std::u16string();
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return {};
    }
}

std::u16string TSqlDataField::GetValue() {
    try {
        const TFieldValue* f = Slot();
        return f ? f->value.toStdU16String() : std::u16string();
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return {};
    }
}

std::u16string TSqlDataField::GetFieldType() {
    try {
        const TFieldValue* f = Slot();
        if (f && !f->type.isEmpty())
            return f->type.toStdU16String();
        const TInternalFieldRecord* d = FindField(m_symbol);
        return d ? FieldTypeToText(d->FieldType).toStdU16String() : std::u16string();
    } catch (...) {
        m_s->error = SqlErrors::CaughtCode();
        return {};
    }
}
