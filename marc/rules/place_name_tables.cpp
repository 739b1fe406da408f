// The place-name tables, one array per initial-letter group.
#include "marc/rules/place_name_tables.h"

#include <array>

namespace place_names {
namespace {

constexpr PlaceKind Au = PlaceKind::Australian;

// Abbreviated qualifiers and the full names used as subdivisions.
constexpr PlaceEntry kExpandAD[] = {
    {"A C T|ACT", "Australian Capital Territory", Au},
    {"ALA", "Alabama"},
    {"ALTA", "Alberta"},
    {"ARIZ", "Arizona"},
    {"ARK", "Arkansas"},
    {"B C|BC", "British Columbia"},
    {"CAL|CALIF", "California"},
    {"COLO", "Colorado"},
    {"CONN", "Connecticut"},
    {"D C|DC", "", PlaceKind::DistrictOfColumbia},
    {"DEL", "Delaware"},
};
constexpr PlaceEntry kExpandEI[] = {
    {"FLA", "Florida"},
    {"GA", "Georgia"},
    {"ILL", "Illinois"},
    {"IND", "Indiana"},
};
constexpr PlaceEntry kExpandJL[] = {
    {"KAN", "Kansas"},
    {"KY", "Kentucky"},
    {"LA", "Louisiana"},
};
constexpr PlaceEntry kExpandM[] = {
    {"ME", "Maine"},          {"MAN", "Manitoba"},     {"MD", "Maryland"},
    {"MASS", "Massachusetts"}, {"MICH", "Michigan"},    {"MINN", "Minnesota"},
    {"MISS", "Mississippi"},  {"MO", "Missouri"},      {"MONT", "Montana"},
};
constexpr PlaceEntry kExpandN[] = {
    {"NEB", "Nebraska"},
    {"NEV", "Nevada"},
    {"N B|NB", "New Brunswick"},
    {"N H|NH", "New Hampshire"},
    {"N J|NJ", "New Jersey"},
    {"N L|NL", "Newfoundland and Labrador"},
    {"N M|NM", "New Mexico"},
    {"N Y|NY|NEW YORK STATE", "New York (State)"},
    {"N Z|NZ", "New Zealand"},
    {"NFLD", "Newfoundland"},
    {"N C|NC", "North Carolina"},
    {"N D|ND", "North Dakota"},
    {"N S|NS", "Nova Scotia"},
    {"N S W|NSW", "New South Wales", Au},
    {"N T", "Northern Territory", Au},
    {"N W T|NWT", "Northwest Territories"},
};
constexpr PlaceEntry kExpandOR[] = {
    {"OKLA", "Oklahoma"},
    {"ONT", "Ontario"},
    {"OR", "Oregon"},
    {"PA", "Pennsylvania"},
    {"P E I|PEI", "Prince Edward Island"},
    {"P R|PR", "Puerto Rico"},
    {"QLD", "Queensland", Au},
    {"QUEBEC", "", PlaceKind::Quebec},
    {"R I|RI", "Rhode Island"},
    {"RUSSIA", "Russia (Federation)"},
};
constexpr PlaceEntry kExpandSU[] = {
    {"S AUST|SAUST", "South Australia", Au},
    {"SASK", "Saskatchewan"},
    {"S C|SC", "South Carolina"},
    {"S D|SD", "South Dakota"},
    {"T H", "Hawaii"},
    {"TAS", "Tasmania", Au},
    {"TENN", "Tennessee"},
    {"TEX", "Texas"},
    {"U S", "UNITED STATES"},
};
constexpr PlaceEntry kExpandVZ[] = {
    {"VT", "Vermont"},
    {"V I|VI", "Virgin Islands"},
    {"VA", "Virginia"},
    {"VIC", "Victoria", Au},
    {"WASH", "Washington (State)"},
    {"W A|WA", "Western Australia", Au},
    {"W VA|WVA", "West Virginia"},
    {"WIS", "Wisconsin"},
    {"WYO", "Wyoming"},
    {"YUKON|YUKON TERRITORY", "Yukon"},
};

// Full names and the abbreviations used in qualifiers.
constexpr PlaceEntry kAbbrevAD[] = {
    {"ALABAMA", "Ala."},
    {"ALBERTA", "Alta."},
    {"ARIZONA", "Ariz."},
    {"ARKANSAS", "Ark."},
    {"BRITISH COLUMBIA", "B.C."},
    {"CALIFORNIA", "Calif."},
    {"COLORADO", "Colo."},
    {"CONGO BRAZZAVILLE|CONGO KINSHASA", "Congo", PlaceKind::Congo},
    {"CONNECTICUT", "Conn."},
    {"DELAWARE", "Del."},
};
constexpr PlaceEntry kAbbrevEI[] = {
    {"FLORIDA", "Fla."},
    {"GEORGIA", "Ga."},
    {"ILLINOIS", "Ill."},
    {"INDIANA", "Ind."},
};
constexpr PlaceEntry kAbbrevJL[] = {
    {"KANSAS", "Kan."},
    {"KENTUCKY", "Ky."},
    {"LOUISIANA", "La."},
};
constexpr PlaceEntry kAbbrevM[] = {
    {"MAINE", "Me."},         {"MANITOBA", "Man."},     {"MARYLAND", "Md."},
    {"MASSACHUSETTS", "Mass."}, {"MICHIGAN", "Mich."},    {"MINNESOTA", "Minn."},
    {"MISSISSIPPI", "Miss."}, {"MISSOURI", "Mo."},      {"MONTANA", "Mont."},
};
constexpr PlaceEntry kAbbrevN[] = {
    {"NEBRASKA", "Neb."},
    {"NEVADA", "Nev."},
    {"NEW BRUNSWICK", "N.B."},
    {"NEW HAMPSHIRE", "N.H."},
    {"NEW JERSEY", "N.J."},
    {"NEW MEXICO", "N.M."},
    {"NEW YORK|NEW YORK STATE", "N.Y."},
    {"NEW ZEALAND", "N.Z."},
    {"NEWFOUNDLAND", "Nfld."},
    {"NORTH CAROLINA", "N.C."},
    {"NORTH DAKOTA", "N.D."},
    {"NORTHWEST TERRITORIES", "N.W.T."},
    {"NOVA SCOTIA", "N.S."},
};
constexpr PlaceEntry kAbbrevOR[] = {
    {"OKLAHOMA", "Okla."},
    {"ONTARIO", "Ont."},
    {"OREGON", "Or."},
    {"PENNSYLVANIA", "Pa."},
    {"PRINCE EDWARD ISLAND", "P.E.I."},
    {"PUERTO RICO", "P.R."},
    {"QUEBEC PROVINCE", "", PlaceKind::Quebec},
    {"RHODE ISLAND", "R.I."},
    {"RUSSIA FEDERATION|RUSSIAN S F S R", "Russia"},
};
constexpr PlaceEntry kAbbrevSU[] = {
    {"SASKATCHEWAN", "Sask."},
    {"SOUTH CAROLINA", "S.C."},
    {"SOUTH DAKOTA", "S.D."},
    {"TENNESSEE", "Tenn."},
    {"TEXAS", "Tex."},
    {"UNITED STATES", "U.S."},
};
constexpr PlaceEntry kAbbrevVZ[] = {
    {"VERMONT", "Vt."},
    {"VIRGIN ISLANDS|VIRGIN ISLANDS OF THE UNITED STATES", "Virgin Islands"},
    {"VIRGINIA", "Va."},
    {"WASHINGTON|WASHINGTON STATE", "Wash."},
    {"WEST VIRGINIA", "W.Va."},
    {"WISCONSIN", "Wis."},
    {"WYOMING", "Wyo."},
    {"YUKON TERRITORY", "Yukon"},
};

constexpr std::array<std::span<const PlaceEntry>, kPlaceGroups> kExpansion = {
    kExpandAD, kExpandEI, kExpandJL, kExpandM, kExpandN, kExpandOR, kExpandSU, kExpandVZ};
constexpr std::array<std::span<const PlaceEntry>, kPlaceGroups> kAbbreviation = {
    kAbbrevAD, kAbbrevEI, kAbbrevJL, kAbbrevM, kAbbrevN, kAbbrevOR, kAbbrevSU, kAbbrevVZ};

constexpr std::string_view kContained[] = {"KINGDOM", "EXTINCT", "DUCHY"};
constexpr std::string_view kWhole[] = {"LAKE", "TOWN", "TOWNSHIP", "REGION", "STATE", "DEMOCRATIC REPUBLIC"};

}  // namespace

int PlaceGroupOf(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return -1;
    if (c <= 'D') return 0;
    if (c <= 'I') return 1;
    if (c <= 'L') return 2;
    if (c == 'M') return 3;
    if (c == 'N') return 4;
    if (c <= 'R') return 5;
    if (c <= 'U') return 6;
    return 7;
}

std::span<const PlaceEntry> ExpansionGroup(int iGroup) { return kExpansion.at(static_cast<size_t>(iGroup)); }
std::span<const PlaceEntry> AbbreviationGroup(int iGroup) { return kAbbreviation.at(static_cast<size_t>(iGroup)); }

const PlaceEntry* FindPlace(std::span<const PlaceEntry> group, std::string_view sKey) {
    for (const PlaceEntry& entry : group) {
        std::string_view keys = entry.keys;
        while (true) {
            const size_t bar = keys.find('|');
            if (keys.substr(0, bar) == sKey) return &entry;
            if (bar == std::string_view::npos) break;
            keys.remove_prefix(bar + 1);
        }
    }
    return nullptr;
}

std::span<const std::string_view> JurisdictionWordsContained() { return kContained; }
std::span<const std::string_view> JurisdictionWordsWhole() { return kWhole; }

}  // namespace place_names
