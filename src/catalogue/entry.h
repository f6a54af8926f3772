// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace palquin {

/// The position fields of a catalogue line ("13;0;E;description;link;link;link").
struct EntryPosition {
    std::string whole;       ///< whole degrees of the orbital position
    std::string fraction;    ///< digits after the point ("25" means .25)
    std::string hemisphere;  ///< "E" or "W" in a well-formed line; not checked here
    std::string tail;        ///< everything after the third ';'

    /// hemisphere + " " + whole + "." + fraction, for example "E 13.0".
    std::string PositionText() const;
};

/// Splits off whole, fraction and hemisphere. Empty when one of the first three ';' is missing:
/// such a line has no position.
std::optional<EntryPosition> SplitPosition(std::string_view entry);

/// The tail of a line split into description and links. The tail is scanned for at most four ';';
/// the description ends at the first, link 1 and 2 lie between the following ones, link 3 runs to
/// the end of the line (a fourth ';' stays inside it).
struct EntryLinks {
    enum class Outcome {
        Complete,       ///< three or four ';' in the tail: description and all three links
        OnlyFirstLink,  ///< exactly two ';': link 1 is known, then the split fails
        Failed,         ///< fewer than two ';', or five or more: no link is known
    };
    Outcome outcome = Outcome::Failed;
    std::string description;           ///< known unless outcome is Failed
    std::array<std::string, 3> links;  ///< only the known ones are filled

    /// How many of the links are known, in order: 3, 1 or 0.
    int KnownLinks() const;
};

EntryLinks SplitLinks(std::string_view tail);

}  // namespace palquin
