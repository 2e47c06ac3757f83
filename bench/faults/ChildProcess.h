#pragma once

#include <sys/types.h>
#include <QByteArrayList>
#include <QStringList>

// A child of plovix-faults: this program again, started to do one operation, talking through
// lines on its standard input and output.
class ChildProcess {
public:
    struct Options {
        QStringList arguments;       // after the program's own name
        QByteArrayList environment;  // added to this program's, "NAME=value"
        bool unprivileged = false;   // run as the user nobody when started as root
        QString errorLog;            // where its standard error goes
    };
    explicit ChildProcess(const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    // The next line it writes, without its end; none once it ended or after `timeoutMs`.
    bool readLine(QByteArray& line, int timeoutMs);
    // Reads lines until one equals `line`; the lines before it are kept in `lines`.
    bool readUntil(const QByteArray& line, int timeoutMs);
    void writeLine(const QByteArray& line);
    void kill();
    // Waits for the end; true when it ended by SIGKILL. `exitCode` is -1 after a signal.
    bool wait(int& exitCode);

    QByteArrayList lines;  // every line read so far

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    QByteArray m_buffer;
    bool m_ended = false;
};

// The user id the unprivileged children run as (nobody).
inline constexpr uid_t kUnprivilegedUser = 65534;
