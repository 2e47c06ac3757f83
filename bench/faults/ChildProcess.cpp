#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdlib>
#include <vector>

ChildProcess::ChildProcess(const Options& options) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) {
        return;
    }
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    QByteArrayList arguments{program};
    for (const QString& argument : options.arguments) {
        arguments.append(argument.toLocal8Bit());
    }
    const QByteArray log = QFile::encodeName(options.errorLog);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        const int error = ::open(log.isEmpty() ? "/dev/null" : log.constData(),
                                 O_WRONLY | O_CREAT | O_APPEND, 0644);
        ::dup2(error, 2);
        for (const QByteArray& setting : options.environment) {
            ::putenv(const_cast<char*>(setting.constData()));
        }
        if (options.unprivileged && ::geteuid() == 0 &&
            (::setgid(kUnprivilegedUser) != 0 || ::setuid(kUnprivilegedUser) != 0)) {
            ::_exit(3);
        }
        std::vector<char*> argv;
        for (const QByteArray& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.constData()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(4);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    m_in = toChild[1];
    m_out = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_ended) {
        kill();
        int code = 0;
        wait(code);
    }
    if (m_in >= 0) {
        ::close(m_in);
    }
    if (m_out >= 0) {
        ::close(m_out);
    }
}

bool ChildProcess::readLine(QByteArray& line, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (true) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0) {
            line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            lines.append(line);
            return true;
        }
        const int left = timeoutMs - int(clock.elapsed());
        pollfd watch{m_out, POLLIN, 0};
        if (m_out < 0 || left <= 0 || ::poll(&watch, 1, left) <= 0) {
            return false;
        }
        char block[4096];
        const ssize_t got = ::read(m_out, block, sizeof block);
        if (got <= 0) {
            return false;
        }
        m_buffer.append(block, got);
    }
}

bool ChildProcess::readUntil(const QByteArray& wanted, int timeoutMs) {
    QByteArray line;
    while (readLine(line, timeoutMs)) {
        if (line == wanted) {
            return true;
        }
    }
    return false;
}

void ChildProcess::writeLine(const QByteArray& line) {
    const QByteArray text = line + '\n';
    if (m_in >= 0 && ::write(m_in, text.constData(), size_t(text.size())) < 0) {
        ::close(m_in);
        m_in = -1;
    }
}

void ChildProcess::kill() {
    if (m_pid > 0 && !m_ended) {
        ::kill(m_pid, SIGKILL);
    }
}

bool ChildProcess::wait(int& exitCode) {
    exitCode = -1;
    if (m_pid <= 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, 0) != m_pid) {
        return false;
    }
    m_ended = true;
    if (WIFEXITED(status)) {
        exitCode = WEXITSTATUS(status);
        return false;
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
