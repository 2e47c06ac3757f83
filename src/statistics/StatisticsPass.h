#pragma once

#include "database/DbError.h"
#include "statistics/TallyTable.h"

#include <array>
#include <functional>

class Database;

// The seven ways the sightings are counted.
enum class Category { Order, Family, Location, Country, Region, Month, Year };
inline constexpr std::size_t kCategoryCount = 7;

// The field of the life list that a category counts.
QString categoryField(Category category);
// The category's name in captions and in the printed and saved statistics: "Orders", "Families".
QString categorySection(Category category);

// The lists of the record form that give the fixed tables their entries.
struct FixedLists {
    QStringList regions;
    QStringList months;
    QStringList years;
};

// One counting pass over the life list. The tables live from one pass to the next: the month
// and year lists are refilled from them when they go back to calendar order.
class StatisticsPass {
public:
    // Builds the tables afresh and counts every sighting into them, reporting progress from 5
    // (regions loaded) to about 82 (last sighting counted). On a failure the tables keep what
    // was counted so far.
    DbError run(Database& db, const FixedLists& lists, const std::function<void(int)>& progress);

    const TallyTable& table(Category category) const { return m_tables[std::size_t(category)]; }

private:
    std::array<TallyTable, kCategoryCount> m_tables;
};
