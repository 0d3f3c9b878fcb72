#include "check/province.h"

#include <algorithm>
#include <array>

namespace check {

namespace {

// The codes of the 110 Italian provinces in force in 2014 and 2015 (ISTAT, "Codici statistici
// delle unità amministrative territoriali", situation at 1 January 2015), in alphabetical order;
// "EE" is the code the form's instructions give for a place abroad.
constexpr std::array<std::string_view, 111> kSigle = {
    "AG", "AL", "AN", "AO", "AP", "AQ", "AR", "AT", "AV", "BA", "BG", "BI", "BL", "BN", "BO", "BR", "BS", "BT", "BZ",
    "CA", "CB", "CE", "CH", "CI", "CL", "CN", "CO", "CR", "CS", "CT", "CZ", "EE", "EN", "FC", "FE", "FG", "FI", "FM",
    "FR", "GE", "GO", "GR", "IM", "IS", "KR", "LC", "LE", "LI", "LO", "LT", "LU", "MB", "MC", "ME", "MI", "MN", "MO",
    "MS", "MT", "NA", "NO", "NU", "OG", "OR", "OT", "PA", "PC", "PD", "PE", "PG", "PI", "PN", "PO", "PR", "PT", "PU",
    "PV", "PZ", "RA", "RC", "RE", "RG", "RI", "RM", "RN", "RO", "SA", "SI", "SO", "SP", "SR", "SS", "SV", "TA", "TE",
    "TN", "TO", "TP", "TR", "TS", "TV", "UD", "VA", "VB", "VC", "VE", "VI", "VR", "VS", "VT", "VV"};

static_assert(std::is_sorted(kSigle.begin(), kSigle.end()));

}  // namespace

bool ProvinciaItaliana(std::string_view sigla) { return std::binary_search(kSigle.begin(), kSigle.end(), sigla); }

}  // namespace check
