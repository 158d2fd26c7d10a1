#pragma once
// Builds the address dictionaries from the TERYT files TERC (provinces, counties,
// communes) and SIMC (localities) as the statistics office publishes them.
//
// - Communes are those of kinds 1, 2 and 3 (urban, rural, urban-rural); the town and the
//   rural area of an urban-rural commune (kinds 4, 5) and the districts and delegations
//   of the large cities (kinds 8, 9) are parts of a commune, not communes.
// - Localities are the independent ones (SYM = SYMPOD). A part of a locality (a part of
//   a town or village, a hamlet belonging to a village) is left out: an address names the
//   locality the part belongs to. The city districts of Warsaw and the delegations of
//   Kraków, Łódź, Poznań and Wrocław are folded into their city, which is listed itself.
// - A locality lies in the commune of its kind 1-3 row: one in the town or rural area of an
//   urban-rural commune lies in that commune; one in a district or delegation in the city.
// - Rows identical in every column (same name in the same commune name, county and
//   province, e.g. in an urban and a rural commune that share a name) are kept once.

#include "uKwadrelTable.h"

#include <QString>

struct TTerytData {
    TKwadrelTable Wojewodztwa{2};  // code, name
    TKwadrelTable Powiaty{3};      // province name, code, name
    TKwadrelTable Gminy{4};        // province name, county name, code, name
    TKwadrelTable Miejscowosci{4}; // province, county, commune, locality name
};

struct TTerytStats {
    int Wojewodztwa = 0;
    int Powiaty = 0;
    int Gminy = 0;
    int Miejscowosci = 0;
    int CzesciPominiete = 0;   // dependent parts of localities left out
    int DzielniceWlaczone = 0; // city districts and delegations folded into their city
    int Powtorzenia = 0;       // identical locality rows kept once
};

// Reads and checks both files; false with a Polish message naming the file and the line.
bool ReadTeryt(const QString& TercPath, const QString& SimcPath, TTerytData& Data, TTerytStats& Stats,
               QString& Error);
