#pragma once
// Error state of a field panel and the program-wide settings that decide how it is
// shown: the set of shown error kinds, the error colour table and the fixed colours of
// the field controls. Everything here lives on the GUI thread.

#include "uEwidarQuorDBSymbole.h"

#include <QColor>
#include <QList>
#include <QString>

#include <cstdint>

enum TErrorType : uint8_t {
    etEmpty,    // no error
    etValidate, // the value is invalid
    etRequire,  // a required value is missing
};

// The error of one field, as produced by the validation rules.
struct TError {
    TErrorType ErrType = etEmpty;
    QString ErrMsg;

    static TError Create(TErrorType ErrType, const QString& ErrMsg) { return TError{ErrType, ErrMsg}; }
    void Clear() {
        ErrType = etEmpty;
        ErrMsg.clear();
    }
    // Only the kind counts: a message left behind an etEmpty error is ignored.
    bool Empty() const { return ErrType == etEmpty; }

    friend bool operator==(const TError&, const TError&) = default;
};

struct TErrorColor {
    TErrorType ErrType = etEmpty;
    QColor ErrColor;
};
using TErrorColors = QList<TErrorColor>;

// A set of error kinds.
class TErrorTypes {
public:
    constexpr TErrorTypes() = default;
    constexpr TErrorTypes(std::initializer_list<TErrorType> Types) {
        for (TErrorType t : Types)
            Include(t);
    }
    constexpr bool Contains(TErrorType Type) const { return (m_bits >> Type & 1u) != 0; }
    constexpr void Include(TErrorType Type) { m_bits |= uint8_t(1u << Type); }
    constexpr void Exclude(TErrorType Type) { m_bits &= uint8_t(~(1u << Type)); }

    friend constexpr bool operator==(const TErrorTypes&, const TErrorTypes&) = default;

private:
    uint8_t m_bits = 0;
};

// Shown error kinds: initially etValidate and etRequire. etEmpty is never shown, so
// including it changes nothing. Both functions re-apply the error of every live panel.
void IncludeShownErrorType(TErrorType Type);
void ExcludeShownErrorType(TErrorType Type);
TErrorTypes GetShownErrorTypes();

// Adds a row to the colour table unless the kind already has one (the first entry wins).
void AddErrorColor(TErrorType Type, const QColor& Color);
// The kind's colour, white when the table has no row for it.
QColor GetErrorColor(TErrorType Type);
const TErrorColors& ErrorColors();

// Fixed colours of the field controls.
inline const QColor cFieldColor{255, 255, 255};     // a field without a shown error
inline const QColor cLineColor{128, 128, 128};      // frames and header lines
inline const QColor cTextColor{0, 0, 0};            // text
inline const QColor cHighlightColor{166, 202, 240}; // grid highlight
// The button-strip colour: the system's button face.
QColor ButtonsColor();

// Text form of an editor kind ("ctEdit" ...); comparison exact, unknown text gives ctStandard.
QString FieldTypeToStr(TFieldType FieldType);
TFieldType StrToFieldType(const QString& Text);
