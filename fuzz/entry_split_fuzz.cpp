// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogue lines are whatever the user typed in an editor; splitting one must never fail in a
// way the rules do not describe.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/entry.h"
#include "fuzz_check.h"

namespace {

bool HasSemicolon(std::string_view text) {
    return text.find(';') != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using Outcome = palquin::EntryLinks::Outcome;
    const std::string_view entry(reinterpret_cast<const char*>(data), size);

    const auto position = palquin::SplitPosition(entry);
    if (!position) {
        FUZZ_CHECK(std::count(entry.begin(), entry.end(), ';') < 3);
        return 0;
    }
    FUZZ_CHECK(!HasSemicolon(position->whole) && !HasSemicolon(position->fraction) &&
               !HasSemicolon(position->hemisphere));
    FUZZ_CHECK(position->whole + ";" + position->fraction + ";" + position->hemisphere + ";" +
                   position->tail ==
               entry);
    FUZZ_CHECK(position->PositionText() ==
               position->hemisphere + " " + position->whole + "." + position->fraction);

    const std::string& tail = position->tail;
    const palquin::EntryLinks links = palquin::SplitLinks(tail);
    const auto semicolons = std::count(tail.begin(), tail.end(), ';');
    switch (links.outcome) {
        case Outcome::Complete:
            FUZZ_CHECK(semicolons == 3 || semicolons == 4);
            FUZZ_CHECK(links.KnownLinks() == 3);
            FUZZ_CHECK(!HasSemicolon(links.description) && !HasSemicolon(links.links[0]) &&
                       !HasSemicolon(links.links[1]));
            FUZZ_CHECK(links.description + ";" + links.links[0] + ";" + links.links[1] + ";" +
                           links.links[2] ==
                       tail);
            break;
        case Outcome::OnlyFirstLink:
            FUZZ_CHECK(semicolons == 2);
            FUZZ_CHECK(links.KnownLinks() == 1);
            FUZZ_CHECK(tail.starts_with(links.description + ";" + links.links[0] + ";"));
            FUZZ_CHECK(links.links[1].empty() && links.links[2].empty());
            break;
        case Outcome::Failed:
            FUZZ_CHECK(semicolons < 2 || semicolons > 4);
            FUZZ_CHECK(links.KnownLinks() == 0);
            FUZZ_CHECK(links.description.empty() && links.links[0].empty());
            break;
    }
    return 0;
}
