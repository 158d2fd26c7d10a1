#pragma once
// The registry context in which a record is edited; frames hide or forbid
// fields by it. Shared by the list frame, the record window and the editors.

enum TKontekst {
    kBrak,      // none
    kPodatnik,  // taxpayer
    kPracownik, // employee of a taxpayer
    kKontrahent // contractor of a taxpayer
};
