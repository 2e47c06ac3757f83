#include "database/OpenLifeList.h"

#include "database/Schema.h"

DbError openLifeList(const QString& path, OpenLifeList& list) {
    list = OpenLifeList{};
    DbError error;
    list.database = Database::open(path, error);
    if (!error) {
        error = lifelist::checkSchema(*list.database);
    }
    auto openDynaset = [&](std::shared_ptr<Recordset>& target, const RecordSource& source) {
        if (!error) {
            target = list.database->openRecordset(source, RecordsetType::Dynaset, error);
        }
    };
    openDynaset(list.orders, {table::Orders, {}, {}});
    openDynaset(list.regions, {table::Regions, {}, {}});
    openDynaset(list.countries, {table::Countries, {}, {}});
    openDynaset(list.families, {table::Families, {}, {}});
    openDynaset(list.birdList, {lifelist::kBirdList, {}, field::Number});
    if (!error && list.birdList->recordCount() == 0) {
        // Another program emptied the list: it starts again from the starter record, as a new
        // list does, with its lookup tables. A list that cannot be written is opened as it is.
        QSqlDatabase db = list.database->sql();
        if (!lifelist::addStarterRecord(db)) {
            error = list.birdList->requery();
        }
    }
    if (error) {
        if (list.database) {
            list.database->close();
        }
        list = OpenLifeList{};
    }
    return error;
}
