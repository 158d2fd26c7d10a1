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

} // namespace FrameOpeners
