#pragma once

#include "database/Criteria.h"

#include <QStringList>
#include <functional>

namespace search {

// The fields that take a search target, in the order their targets are read.
const QStringList& targetFields();

// One typed target as a LIKE pattern that finds it anywhere inside a field. A single quote
// becomes "?" (any one character); the user's own "*" and "?" keep their meaning.
QString MakeSearchTarget(const QString& searchTarget);

// The criteria for the targets typed: every field with a target must match it. `targetOf`
// gives the text typed for a field; fields left empty are not searched. Empty when no target
// was typed at all.
Criteria buildCriteria(const std::function<QString(const QString& field)>& targetOf);

}  // namespace search
