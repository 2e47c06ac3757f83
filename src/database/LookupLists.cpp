#include "database/LookupLists.h"
#include "database/Schema.h"

namespace lookup {

QStringList entries(Recordset& recordset, const QString& field) {
    QStringList list;
    QVariantList values;
    recordset.readColumn(field, values);
    for (const QVariant& value : values) {
        if (value.isValid() && !value.isNull()) {
            list.append(value.toString());
        }
    }
    return list;
}

std::shared_ptr<Recordset> openFamilies(Database& database, const QString& order, DbError& error) {
    return database.openRecordset(
        RecordSource{table::Families, Criteria::equals(field::Order, order), {}},
        RecordsetType::Dynaset, error);
}

std::optional<QString> familiesOrder(const Recordset& families) {
    const QList<Criteria::Term>& terms = families.source().filter.terms();
    if (terms.size() != 1 || terms.first().field != field::Order) {
        return std::nullopt;
    }
    return terms.first().value.toString();
}

DbError contains(Recordset& recordset, const Criteria& criteria, bool& found) {
    found = false;
    if (DbError error = recordset.findFirst(criteria)) {
        return error;
    }
    found = !recordset.noMatch();
    return {};
}

DbError addEntry(Recordset& recordset, const QList<std::pair<QString, QString>>& values) {
    if (DbError error = recordset.addNew()) {
        return error;
    }
    for (const auto& [field, value] : values) {
        if (DbError error = recordset.setValue(field, value)) {
            recordset.cancelUpdate();
            return error;
        }
    }
    if (DbError error = recordset.update()) {
        recordset.cancelUpdate();
        return error;
    }
    return {};
}

}  // namespace lookup
