#include "statistics/StatisticsPass.h"

#include "database/Schema.h"
#include "database/TableScan.h"

QString categoryField(Category category) {
    const QString* const fields[] = {&field::Order,   &field::Family, &field::Location,
                                     &field::Country, &field::Region, &field::Month,
                                     &field::Year};
    return *fields[std::size_t(category)];
}

QString categorySection(Category category) {
    static const char* const sections[] = {"Orders",  "Families", "Locations", "Countries",
                                           "Regions", "Months",   "Years"};
    return QString::fromLatin1(sections[std::size_t(category)]);
}

DbError StatisticsPass::run(Database& db, const FixedLists& lists,
                            const std::function<void(int)>& progress) {
    for (Category growing :
         {Category::Order, Category::Family, Category::Location, Category::Country}) {
        m_tables[std::size_t(growing)] = TallyTable::growing();
    }
    const std::pair<Category, const QStringList*> fixed[] = {
        {Category::Region, &lists.regions},
        {Category::Month, &lists.months},
        {Category::Year, &lists.years},
    };
    int step = 0;
    for (const auto& [category, values] : fixed) {
        m_tables[std::size_t(category)] = TallyTable::fixed(*values);
        progress(5 * ++step);
    }

    QStringList fields;
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
        fields.append(categoryField(Category(i)));
    }
    int shown = -1;
    return scanTable(db, lifelist::kBirdList, fields,
                     [&](const QVariantList& values, double percent) {
                         for (std::size_t i = 0; i < kCategoryCount; ++i) {
                             m_tables[i].count(values[qsizetype(i)]);
                         }
                         const int value = int(percent / 1.5 + 15);
                         if (value != shown) {
                             shown = value;
                             progress(value);
                         }
                     });
}
