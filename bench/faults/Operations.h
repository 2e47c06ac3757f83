#pragma once

#include <QList>
#include <QString>
#include <functional>

class FormFixture;

// The files a child works on: a program folder holding the life list, the world checklist, an
// eBird download and a picture to link.
struct TrialFiles {
    QString folder;
    QString download() const { return folder + QStringLiteral("/MyEBirdData.csv"); }
    QString picture() const { return folder + QStringLiteral("/Heron.png"); }
    QString output(const char* name) const {
        return folder + QLatin1Char('/') + QLatin1String(name);
    }
};

// One operation that writes: the steps before it (not under test), the operation itself, and
// what the user does to try it again after it failed.
struct Operation {
    const char* name;
    const char* output;  // the file it writes beside the life list, if any
    std::function<void(FormFixture&, const TrialFiles&)> prepare;
    std::function<void(FormFixture&, const TrialFiles&)> act;
    std::function<void(FormFixture&, const TrialFiles&)> retry;  // none: act again
    // Whether the sightings or lookup lists differ once it is done (a compacted or repaired
    // list holds what it held).
    bool changesList = true;
};

// Every operation that writes the life list or a file from it, as the record form and the
// life-list editor give them.
const QList<Operation>& operations();
const Operation* operationNamed(const QString& name);
