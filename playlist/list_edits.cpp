#include "playlist/list_edits.h"

#include "common/basic_random.h"
#include "common/number_text.h"
#include "common/playlist_table.h"

#include <cmath>
#include <limits>
#include <utility>

void removeEntry(PlaylistTable& table, int slot)
{
    table.erase(table.begin() + slot);
}

void exchangeEntries(PlaylistTable& table, int a, int b)
{
    std::swap(table[size_t(a)], table[size_t(b)]);
}

void shuffleEntries(PlaylistTable& table, BasicRandom& random)
{
    const int n = int(table.size());
    for (int i = 0; i < n; ++i) {
        // The product of a float below 1 and n is exact in double, so the slot stays below n.
        const int a = int(std::floor(double(random.next()) * n));
        const int b = int(std::floor(double(random.next()) * n));
        exchangeEntries(table, a, b);
    }
}

std::optional<double> gapMilliseconds(QStringView answer)
{
    const double milliseconds = leadingNumber(answer) * 1000;
    if (!(std::abs(milliseconds) <= std::numeric_limits<int>::max()))
        return std::nullopt;
    return milliseconds;
}
