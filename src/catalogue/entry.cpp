// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/entry.h"

namespace palquin {

std::string EntryPosition::PositionText() const {
    std::string text;
    text.reserve(hemisphere.size() + whole.size() + fraction.size() + 2);
    text.append(hemisphere).append(" ").append(whole).append(".").append(fraction);
    return text;
}

std::optional<EntryPosition> SplitPosition(std::string_view entry) {
    // Moves the text up to the next ';' from entry into field; false when there is none.
    auto cut = [&entry](std::string& field) {
        const size_t semicolon = entry.find(';');
        if (semicolon == std::string_view::npos) {
            return false;
        }
        field.assign(entry.substr(0, semicolon));
        entry.remove_prefix(semicolon + 1);
        return true;
    };
    EntryPosition position;
    if (!cut(position.whole) || !cut(position.fraction) || !cut(position.hemisphere)) {
        return std::nullopt;
    }
    position.tail.assign(entry);
    return position;
}

int EntryLinks::KnownLinks() const {
    switch (outcome) {
        case Outcome::Complete:
            return 3;
        case Outcome::OnlyFirstLink:
            return 1;
        case Outcome::Failed:
            break;
    }
    return 0;
}

EntryLinks SplitLinks(std::string_view tail) {
    // Only four places are kept: a fifth ';' makes the whole split fail before any link is cut,
    // while a fourth simply ends up inside link 3.
    constexpr size_t kMaxSemicolons = 4;
    std::array<size_t, kMaxSemicolons> at{};
    size_t count = 0;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (tail[i] != ';') {
            continue;
        }
        if (count == kMaxSemicolons) {
            return {};
        }
        at[count++] = i;
    }

    EntryLinks links;
    if (count < 2) {
        return links;
    }
    auto between = [tail](size_t from, size_t to) {
        return std::string(tail.substr(from + 1, to - from - 1));
    };
    links.description.assign(tail.substr(0, at[0]));
    links.links[0] = between(at[0], at[1]);
    if (count == 2) {
        links.outcome = EntryLinks::Outcome::OnlyFirstLink;
        return links;
    }
    links.links[1] = between(at[1], at[2]);
    links.links[2].assign(tail.substr(at[2] + 1));
    links.outcome = EntryLinks::Outcome::Complete;
    return links;
}

}  // namespace palquin
