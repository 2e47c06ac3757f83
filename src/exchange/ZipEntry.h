#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reading the CSV file out of a zip archive, as eBird sends its downloads.
namespace zip {

// True when the bytes are a zip archive rather than text.
bool isArchive(const QByteArray& bytes);

// The contents of the archive's entry named `preferred` (in any folder, ignoring case), or else
// of its first entry whose name ends in ".csv". No value when there is none or it cannot be
// read (stored or deflated entries only), with the reason in `error`.
std::optional<QByteArray> csvEntry(const QByteArray& archive, const QString& preferred,
                                   QString& error);

}  // namespace zip
