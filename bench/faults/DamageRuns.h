#pragma once

#include "Figures.h"

#include <QString>

// Repairs of a generated life list with one page overwritten, in turn, with zeros and with
// random bytes: every page of a small list, and `sampled` pages drawn at random from a large
// one. Every sighting whose pages were not touched must come through the repair whole, and no
// value of the repaired list may hold a NUL character.
void runDamage(const QString& root, const QString& dataDir, quint32 seed, int sampled,
               Figures& figures);
