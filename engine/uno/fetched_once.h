#pragma once

#include "shell/failure.h"

#include <vector>

// The engine can hand out a shape's object while that object is going
// away: when the program let go of its last reference to the shape a
// moment before, the bridge ends that reference on a thread of its own,
// and a fetch that meets the object then gets it cut off from its shape
// (no slide, at 0,0, 100 by 100). A shape taken so is fetched again; each
// shape is then held while it is used, so it does not go away again.
inline constexpr int kFetchesOfAShape = 8;

// Each of count items fetched once and kept, fetched again while it
// answers as cut off; fails when one still does after kFetchesOfAShape.
template <class Item, class Fetch, class Attached>
std::vector<Item> fetchEachOnce(int count, Fetch fetch, Attached attached, const QString& what)
{
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Item item = fetch(i);
        for (int fetches = 1; !attached(item); ++fetches) {
            if (fetches == kFetchesOfAShape)
                throw Failure(
                    QStringLiteral("The presentation engine did not hand over shape %1 of %2.").arg(i + 1).arg(what));
            item = fetch(i);
        }
        items.push_back(std::move(item));
    }
    return items;
}
