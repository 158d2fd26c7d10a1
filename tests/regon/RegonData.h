#pragma once
// Register entries of the fake service used by the session tests (invented numbers).

class TFakeRegonService;

namespace RegonData {

// A natural person with a business activity and one local unit (REGON 123456785, NIP
// 1111111111), whose local-unit report links back to the person's report.
inline constexpr const char* PersonRegon = "123456785";
inline constexpr const char* PersonNip = "1111111111";
// A natural person without local units, found by NIP 2222222222.
inline constexpr const char* SolePersonNip = "2222222222";
// A legal person with activities and two local units, found by KRS 0000123456.
inline constexpr const char* LegalKrs = "0000123456";
// The local units found by their 14-digit REGON, each with its activity report.
inline constexpr const char* PersonUnitRegon = "12345678500011";
inline constexpr const char* LegalUnitRegon = "55667788900028";

void Fill(TFakeRegonService& Service);

} // namespace RegonData
