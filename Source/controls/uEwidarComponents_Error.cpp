#include "uEwidarComponents_Error.h"

#include "uEwidarComponents_Panel.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

TErrorColors& ColorTable() {
    static TErrorColors table{{etValidate, QColor(245, 169, 169)}, {etRequire, QColor(255, 255, 200)}};
    return table;
}

TErrorTypes& ShownTypes() {
    static TErrorTypes shown{etValidate, etRequire};
    return shown;
}

} // namespace

void IncludeShownErrorType(TErrorType Type) {
    if (Type != etEmpty)
        ShownTypes().Include(Type);
    TPanel::ReapplyAllErrors();
}

void ExcludeShownErrorType(TErrorType Type) {
    ShownTypes().Exclude(Type);
    TPanel::ReapplyAllErrors();
}

TErrorTypes GetShownErrorTypes() {
    return ShownTypes();
}

void AddErrorColor(TErrorType Type, const QColor& Color) {
    for (const TErrorColor& row : ColorTable())
        if (row.ErrType == Type)
            return;
    ColorTable().append({Type, Color});
}

QColor GetErrorColor(TErrorType Type) {
    for (const TErrorColor& row : ColorTable())
        if (row.ErrType == Type)
            return row.ErrColor;
    return cFieldColor;
}

const TErrorColors& ErrorColors() {
    return ColorTable();
}

QColor ButtonsColor() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
}

QString FieldTypeToStr(TFieldType FieldType) {
    return FieldTypeToText(FieldType);
}

TFieldType StrToFieldType(const QString& Text) {
    return TextToFieldType(Text);
}
