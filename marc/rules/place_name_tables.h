// Place-name tables of the geographic-subdivision members: abbreviated
// qualifiers and their full names, full names and their abbreviations, and
// the words that name a type of jurisdiction. Keys are comparison forms
// (capitals, punctuation as blanks), grouped by their first letter.
#pragma once

#include <span>
#include <string_view>

namespace place_names {

// What a key stands for beyond its plain text.
enum class PlaceKind {
    Ordinary,
    Australian,        // subdivided under "Australia" unless the option asks otherwise
    DistrictOfColumbia,  // the heading is kept whole, with no larger place
    Quebec,            // written with the record's combining acute
    Congo,             // a short name, no abbreviation
};

// One name with every comparison form that stands for it; keys are
// separated by "|".
struct PlaceEntry {
    std::string_view keys;
    std::string_view name;
    PlaceKind kind = PlaceKind::Ordinary;
};

// The eight initial-letter groups: A-D, E-I, J-L, M, N, O-R, S-U, V-Z; -1
// for any other octet.
int PlaceGroupOf(char c);
inline constexpr int kPlaceGroups = 8;

std::span<const PlaceEntry> ExpansionGroup(int iGroup);
std::span<const PlaceEntry> AbbreviationGroup(int iGroup);
// The entry of the group that lists sKey, or null.
const PlaceEntry* FindPlace(std::span<const PlaceEntry> group, std::string_view sKey);

// Jurisdiction words: contained anywhere, or the whole text.
std::span<const std::string_view> JurisdictionWordsContained();
std::span<const std::string_view> JurisdictionWordsWhole();

}  // namespace place_names
