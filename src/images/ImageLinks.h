#pragma once

#include <QString>
#include <QStringList>

// The picture files linked to a sighting, as its Images field stores them: every path followed
// by one comma, with no quoting. Two commas in a row make an empty link. Text after the last
// comma is a link too when it is not empty: a value typed by hand or imported from a
// spreadsheet may leave out the last comma. An empty text, or Null, is no links.
namespace links {

QStringList read(const QString& stored);
// An empty list is an empty text.
QString write(const QStringList& paths);
// Whether a path can be stored as one link: a comma in it would split it in two.
bool storable(const QString& path);

}  // namespace links
