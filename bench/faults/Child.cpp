#include "Child.h"

#include "FormFixture.h"
#include "Operations.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cstdio>
#include <iostream>
#include <iterator>

namespace {

const char* const kModeNames[] = {"plain", "disk-full", "read-only-folder", "read-only-file",
                                  "power-cut"};

// The switch of the preloaded library, when there is one.
void arm(bool on) {
    using Arm = void (*)(int);
    if (auto* function = reinterpret_cast<Arm>(::dlsym(RTLD_DEFAULT, "plovixFaultArm"))) {
        function(on ? 1 : 0);
    }
}
long armedCalls() {
    using Calls = long (*)();
    auto* function = reinterpret_cast<Calls>(::dlsym(RTLD_DEFAULT, "plovixFaultCalls"));
    return function ? function() : -1;
}

void setLimit(qint64 bytes) {
    rlimit limit{};
    limit.rlim_cur = bytes < 0 ? RLIM_INFINITY : rlim_t(bytes);
    limit.rlim_max = RLIM_INFINITY;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The message boxes shown from `first` on, one line each: style, title and the first line.
void tellMessages(const ScriptedDialogs& dialogs, qsizetype first, const char* tag) {
    const QList<ScriptedDialogs::Call>& calls = dialogs.calls();
    for (qsizetype i = first; i < calls.size(); ++i) {
        if (calls[i].kind == ScriptedDialogs::Call::Message) {
            say(QByteArray(tag) + ' ' + QByteArray::number(calls[i].style) + ' ' +
                calls[i].title.toUtf8() + '|' + calls[i].prompt.section(u'\n', 0, 0).toUtf8());
        }
    }
}

}  // namespace

ChildMode childModeNamed(const QString& name) {
    for (int i = 0; i < int(std::size(kModeNames)); ++i) {
        if (name == QLatin1String(kModeNames[i])) {
            return ChildMode(i);
        }
    }
    return ChildMode::Plain;
}

QString childModeName(ChildMode mode) {
    return QLatin1String(kModeNames[int(mode)]);
}

void runChild(const QString& name, const QString& folder, ChildMode mode, qint64 limit) {
    const Operation* operation = operationNamed(name);
    if (!operation) {
        say("unknown operation");
        ::_exit(2);
    }
    const TrialFiles files{folder};
    {
        FormFixture f(folder);
        f.open();
        QCoreApplication::processEvents();  // the checklist, read once the form is up
        if (operation->prepare) {
            operation->prepare(f, files);
        }
        qsizetype first = f.dialogs.calls().size();
        if (mode == ChildMode::DiskFull) {
            ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
            setLimit(limit);
        } else if (mode == ChildMode::ReadOnlyFolder) {
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        }
        say("ready");
        if (mode == ChildMode::PowerCut) {
            std::string go;
            std::getline(std::cin, go);
        }
        arm(true);
        operation->act(f, files);
        arm(false);
        say("calls " + QByteArray::number(armedCalls()));
        tellMessages(f.dialogs, first, "message");
        say("acted");
        if (mode != ChildMode::Plain && mode != ChildMode::PowerCut) {
            std::string line;
            std::getline(std::cin, line);
            setLimit(-1);
            ::chmod(QFile::encodeName(folder).constData(), 0755);
            if (line == "again") {
                first = f.dialogs.calls().size();
                (operation->retry ? operation->retry : operation->act)(f, files);
                tellMessages(f.dialogs, first, "retry");
            }
            say("done");
        }
        // What the form would store on closing is not part of the operation.
        std::fflush(stdout);
        ::_exit(0);
    }
}
