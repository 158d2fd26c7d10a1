#pragma once
// The dictionary module: one operation per dictionary for the record frames. Each waits
// until its table is loaded, then opens the dictionary window, which fills the result
// when the operator accepts a row. Owned by the core object; runs in the main thread.

#include "uDictionaryRecord.h"

#include <QString>

#include <functional>

class QWidget;

// Opens the dictionary window of a type with the given input; fills Result only when
// the operator accepts a row (Result arrives cleared). Installed by the window's unit.
using TDictionaryFormOpener = std::function<void(QWidget* Owner, const TDictionaryRecord& Input,
                                                 TDictionaryType Type, TDictionaryRecord& Result)>;

class TDictionaryModule {
public:
    TDictionaryModule() = default;
    TDictionaryModule(const TDictionaryModule&) = delete;
    TDictionaryModule& operator=(const TDictionaryModule&) = delete;

    // The window's opener; with none installed a selection returns a cleared record.
    static void SetDictionaryFormOpener(TDictionaryFormOpener Opener);

    void Kraj(QWidget* Owner, const QString& KrajNazwa, TDictionaryRecord& Result);
    void Powiat(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat, TDictionaryRecord& Result);
    void Gmina(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat, const QString& Gmina,
               TDictionaryRecord& Result);
    void Miejscowosc(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat, const QString& Gmina,
                     const QString& Miejscowosc, TDictionaryRecord& Result);
    void UrzadSkarbowy(QWidget* Owner, TDictionaryRecord& Result);
    // There is no dictionary of streets: clears the result and does nothing else.
    void Ulica(TDictionaryRecord& Result);

    // The province names, each in double quotes, joined by commas ("" for none); the
    // item list of a province combo box. Waits for the provinces.
    QString WojewodztwaCommaText();

    // The input handed to the dictionary window by the last selection.
    TDictionaryRecord FInputDictionaryRecord;

private:
    // The address parts an address selection hands the window (empty: not given).
    struct TAddress {
        QString Wojewodztwo, Powiat, Gmina, Miejscowosc;
    };
    void SelectAddress(QWidget* Owner, TDictionaryType Type, const TAddress& Input,
                       TDictionaryRecord& Result);
    void Select(QWidget* Owner, TDictionaryType Type, TDictionaryRecord& Result);
};

// What an empty dictionary of the type says to the operator: how to fill it.
QString EmptyDictionaryHint(TDictionaryType Type);
