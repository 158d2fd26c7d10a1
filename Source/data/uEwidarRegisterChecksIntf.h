#pragma once
// Proof of the checks in public registers (VAT white list, VIES), a further interface of the
// root object (Supports<IEwidarRegisterChecks>(DataBase)): a backend without it keeps no proof
// and the program says so. Every answer is kept with the subject asked about; the program
// never changes nor deletes one, and a deleted subject's checks stay, found by its identifier
// or by the number asked about.

#include "uEwidarQuorDBIntf.h"

#include <string>
#include <vector>

// One answer of a public register.
struct TRegisterCheck {
    int32_t ID = 0;              // given by the database
    int32_t SubjectID = 0;       // the subject asked about (0: none stored yet)
    std::u16string Register;     // "WL" white list by NIP, "WL-RACHUNEK" account, "VIES"
    std::u16string AskedDate;    // the date asked about, yyyy-mm-dd
    std::u16string AskedAt;      // when the question was asked (set by the database, ISO)
    std::u16string Operator;     // who asked: the login (set by the database; empty without)
    std::u16string Identifier;   // the number asked about (NIP, VAT number)
    std::u16string Account;      // the account asked about (account checks)
    std::u16string Outcome;      // what the answer said ("Czynny", "przypisany", "ważny" ...)
    std::u16string Source;       // who answered ("usługa", "plik płaski")
    std::u16string RequestId;    // the register's identifier of the answer
    std::u16string Raw;          // the answer as received
};

struct IEwidarRegisterChecks : IInterface {
    static constexpr TGUID IID = {0x384D814A, 0x318A, 0x4996, {0xBE, 0x89, 0x31, 0xED, 0xD2, 0xF4, 0x30, 0xBE}};
    using Parent = IInterface;

    // Stores Check; sets its ID, AskedAt and Operator. False with the root object's error code.
    virtual bool AddRegisterCheck(TRegisterCheck& Check) = 0;
    // SubjectID not 0: that subject's checks; otherwise those of the number Identifier. Newest
    // first.
    virtual bool GetRegisterChecks(int32_t SubjectID, const std::u16string& Identifier,
                                   std::vector<TRegisterCheck>& Checks) = 0;
};
