#pragma once
// The subject frame's panels that the identifier rules tie together, wired as the frame
// wires them: person kind, names, PESEL, birth date, sex, identifier choice, NIP and
// its country code, bound to a record's fields and validated once after binding.

#include "FakeFields.h"
#include "PanelFixture.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "uDataValidate.h"

#include <QMap>

class SubjectRulesTest : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        using namespace uDataValidate;
        kind = Radio(cDanePodmiotuOsobaFizycznaOsobaPrawna, ValidatePersonKind);
        surname = Field(cDanePodmiotuNazwisko, ValidateSurname);
        firstName = Field(cDanePodmiotuPierwszeImie, ValidateFirstName);
        company = Field(cDanePodmiotuNazwaFirmy, ValidateCompanyName);
        pesel = Field(cDanePodmiotuPESEL, ValidatePESEL);
        birthDate = Field(cDanePodmiotuDataUrodzenia, ValidateBirthDate);
        sex = Radio(cDanePodmiotuPlec, ValidateSex);
        choice = Radio(cDanePodmiotuWlasciwyIdentyfikatorPodatkowy, ValidateTaxIdentifierChoice);
        nip = Field(cDanePodmiotuNIPOF, ValidateNIP);
        country = Field(cDanePodmiotuKodKrajuNadaniaNumeruOF, ValidateCountryCode);

        kind->SetValidateRefCompoments({choice, surname, firstName, company});
        for (TPanel* p : {surname, firstName, company})
            p->SetValidateRefCompoments({kind});
        pesel->SetValidateRefCompoments({birthDate, sex, choice});
        birthDate->SetValidateRefCompoments({pesel});
        sex->SetValidateRefCompoments({pesel});
        choice->SetValidateRefCompoments({pesel, nip, kind});
        nip->SetValidateRefCompoments({choice, country});
        country->SetValidateRefCompoments({nip});
    }

    // Binds every panel to a record holding Values and runs every rule once, in order.
    void Bind(const QMap<QString, QString>& Values) {
        fields = TIntfPtr<TFakeDataFields>(new TFakeDataFields);
        for (auto it = Values.begin(); it != Values.end(); ++it)
            fields->Set(it.key(), it.value());
        for (TPanel* p : All())
            p->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
        for (TPanel* p : All())
            uDataValidate::RunRule(p);
    }

    QList<TPanel*> All() const {
        return {kind, surname, firstName, company, pesel, birthDate, sex, choice, nip, country};
    }

    // Replaces the text of an edit the way typing does (one change per key).
    static void Type(TPanel* Panel, const QString& Text) {
        Panel->Edit()->clear();
        Panel->Edit()->setFocus();
        QTest::keyClicks(Panel->Edit(), Text);
    }
    static void Click(TRadioButton* Button) {
        QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2));
    }
    TRadioButton* Option(TPanel* Panel, int Index) const { return Panel->GroupRadioButtons().value(Index); }

    TPanel* kind = nullptr;
    TPanel* surname = nullptr;
    TPanel* firstName = nullptr;
    TPanel* company = nullptr;
    TPanel* pesel = nullptr;
    TPanel* birthDate = nullptr;
    TPanel* sex = nullptr;
    TPanel* choice = nullptr;
    TPanel* nip = nullptr;
    TPanel* country = nullptr;
    TIntfPtr<TFakeDataFields> fields;

private:
    TPanel* Field(const TInternalFieldRecord& Descriptor, TOnValidate Rule) {
        TPanel* panel = AddPanel(Descriptor);
        panel->SetOnValidate(Rule);
        return panel;
    }
    TPanel* Radio(const TInternalFieldRecord& Descriptor, TOnValidate Rule) {
        TPanel* panel = AddGroup<TRadioButton>(Descriptor, GroupFieldOptions(Descriptor.Symbol));
        panel->SetOnValidate(Rule);
        return panel;
    }
};

// Valid PESELs: a woman born 1990-01-01 and a man born the same day.
inline const QString cPeselKobieta = QStringLiteral("90010112349");
inline const QString cPeselMezczyzna = QStringLiteral("90010112356");
