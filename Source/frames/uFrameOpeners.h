#pragma once
// How the section frames reach windows of other units: the address and country
// dictionaries and the subject chooser. Each is replaceable; until the window's unit
// installs itself a dictionary picks nothing and offers no provinces, and the chooser
// chooses nothing.
//
// The dictionary module hooks in with one line, whatever its result type, as long as
// its operations take (owner, inputs..., out result) and the result has the fields
// read below:
//
//   FrameOpeners::InstallDictionaryModule(Core->FDictionaryModule);

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace FrameOpeners {

// The part of a dictionary selection that the frames write into their panels; an
// empty text leaves its panel alone.
struct TDictionaryResult {
    QString KrajNazwa;
    QString KrajKod;
    QString Wojewodztwo;
    QString Powiat;
    QString Gmina;
    QString Miejscowosc;
    QString Ulica;
};

// The dictionary operations the frames use; each opens the dictionary window on Owner.
class IFrameDictionaries {
public:
    virtual ~IFrameDictionaries() = default;
    virtual TDictionaryResult Kraj(QWidget* Owner, const QString& KrajNazwa) = 0;
    virtual TDictionaryResult Powiat(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat) = 0;
    virtual TDictionaryResult Gmina(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                                    const QString& Gmina) = 0;
    virtual TDictionaryResult Miejscowosc(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                                          const QString& Gmina, const QString& Miejscowosc) = 0;
    // The province names as a comma text ("a","b"), the items of a province combo box.
    virtual QString WojewodztwaCommaText() = 0;
};

// Installing nullptr puts the do-nothing default back.
void SetDictionaries(std::shared_ptr<IFrameDictionaries> Dictionaries);
// The installed dictionaries, or a default that picks nothing.
std::shared_ptr<IFrameDictionaries> Dictionaries();

namespace Detail {
template <class T> struct TResultOf;
template <class M, class R> struct TResultOf<void (M::*)(QWidget*, const QString&, R&)> { using type = R; };

// Serves the frames from a dictionary module (not owned; it outlives the frames).
template <class TModule> class TModuleDictionaries : public IFrameDictionaries {
public:
    using TRecord = typename TResultOf<decltype(&TModule::Kraj)>::type;
    explicit TModuleDictionaries(TModule* Module) : m_module(Module) {}
    TDictionaryResult Kraj(QWidget* Owner, const QString& KrajNazwa) override {
        TRecord r;
        m_module->Kraj(Owner, KrajNazwa, r);
        return From(r);
    }
    TDictionaryResult Powiat(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat) override {
        TRecord r;
        m_module->Powiat(Owner, Wojewodztwo, Powiat, r);
        return From(r);
    }
    TDictionaryResult Gmina(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                            const QString& Gmina) override {
        TRecord r;
        m_module->Gmina(Owner, Wojewodztwo, Powiat, Gmina, r);
        return From(r);
    }
    TDictionaryResult Miejscowosc(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                                  const QString& Gmina, const QString& Miejscowosc) override {
        TRecord r;
        m_module->Miejscowosc(Owner, Wojewodztwo, Powiat, Gmina, Miejscowosc, r);
        return From(r);
    }
    QString WojewodztwaCommaText() override { return m_module->WojewodztwaCommaText(); }

private:
    static TDictionaryResult From(const TRecord& R) {
        return {R.KrajNazwa, R.KrajKod, R.Wojewodztwo, R.Powiat, R.Gmina, R.Miejscowosc, R.Ulica};
    }
    TModule* m_module;
};
} // namespace Detail

// Serves the frames' dictionary actions from the dictionary module.
template <class TModule> void InstallDictionaryModule(TModule* Module) {
    SetDictionaries(Module ? std::make_shared<Detail::TModuleDictionaries<TModule>>(Module) : nullptr);
}

// Lets the user pick a subject; empty when nothing was picked.
using TSubjectChooser = std::function<TIntfPtr<IEwidarRecord>(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;
// Installing an empty function puts the do-nothing default back.
void SetSubjectChooser(TSubjectChooser Chooser);
TIntfPtr<IEwidarRecord> ChooseSubject(QWidget* OwnerForm, IEwidarDataBase* DataBase);

// Checks the account number shown by Frame in the VAT white list; nothing until installed.
using TAccountCheckOpener = std::function<void(QWidget* OwnerForm, QWidget* Frame, const QString& Account)>;
void SetAccountCheckOpener(TAccountCheckOpener Opener);
void CheckAccountInWhiteList(QWidget* OwnerForm, QWidget* Frame, const QString& Account);
// Checks the tax number shown by an identification-number Frame in VIES; nothing until installed.
using TViesCheckOpener = std::function<void(QWidget* OwnerForm, QWidget* Frame)>;
void SetViesCheckOpener(TViesCheckOpener Opener);
void CheckInVies(QWidget* OwnerForm, QWidget* Frame);

} // namespace FrameOpeners
