#include "uFrameOpeners.h"

namespace FrameOpeners {

namespace {

class TNoDictionaries : public IFrameDictionaries {
public:
    TDictionaryResult Kraj(QWidget*, const QString&) override { return {}; }
    TDictionaryResult Powiat(QWidget*, const QString&, const QString&) override { return {}; }
    TDictionaryResult Gmina(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    TDictionaryResult Miejscowosc(QWidget*, const QString&, const QString&, const QString&,
                                  const QString&) override {
        return {};
    }
    QString WojewodztwaCommaText() override { return {}; }
};

std::shared_ptr<IFrameDictionaries>& Installed() {
    static std::shared_ptr<IFrameDictionaries> dictionaries;
    return dictionaries;
}

TSubjectChooser& SubjectChooser() {
    static TSubjectChooser chooser;
    return chooser;
}

TAccountCheckOpener& AccountCheck() {
    static TAccountCheckOpener opener;
    return opener;
}

TViesCheckOpener& ViesCheck() {
    static TViesCheckOpener opener;
    return opener;
}

} // namespace

void SetDictionaries(std::shared_ptr<IFrameDictionaries> Value) {
    Installed() = std::move(Value);
}

std::shared_ptr<IFrameDictionaries> Dictionaries() {
    static const auto none = std::make_shared<TNoDictionaries>();
    return Installed() ? Installed() : none;
}

void SetSubjectChooser(TSubjectChooser Value) {
    SubjectChooser() = std::move(Value);
}

TIntfPtr<IEwidarRecord> ChooseSubject(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    // A copy: the chooser may install another one while it runs.
    const TSubjectChooser chooser = SubjectChooser();
    return chooser ? chooser(OwnerForm, DataBase) : TIntfPtr<IEwidarRecord>();
}

void SetAccountCheckOpener(TAccountCheckOpener Value) {
    AccountCheck() = std::move(Value);
}

void CheckAccountInWhiteList(QWidget* OwnerForm, QWidget* Frame, const QString& Account) {
    if (const TAccountCheckOpener opener = AccountCheck())
        opener(OwnerForm, Frame, Account);
}

void SetViesCheckOpener(TViesCheckOpener Value) {
    ViesCheck() = std::move(Value);
}

void CheckInVies(QWidget* OwnerForm, QWidget* Frame) {
    if (const TViesCheckOpener opener = ViesCheck())
        opener(OwnerForm, Frame);
}

} // namespace FrameOpeners
