#pragma once

// What the fuzz targets share: turning the fuzzer's bytes into the texts the program reads, and
// a check that stops the run with a message when a property of the code under test fails.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A file's text as the program reads it: UTF-8, with a byte-order mark at its start dropped.
inline QString fileText(const uint8_t* data, size_t size) {
    QByteArray bytes = bytesOf(data, size);
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
    }
    return QString::fromUtf8(bytes);
}

// Text as typed or picked in the program's boxes. Bytes starting with 0 are taken as UTF-16
// (little-endian) after it, so that lone surrogates reach the code too; others as UTF-8.
inline QString typedText(const uint8_t* data, size_t size) {
    if (size > 0 && data[0] == 0) {
        QString text;
        for (size_t i = 1; i + 1 < size; i += 2) {
            text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
        }
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The text cut at its line feeds; every line is one value.
inline QStringList linesOf(const QString& text) {
    return text.split(QLatin1Char('\n'));
}

[[noreturn]] inline void fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzz

// Aborts the run (a crash to libFuzzer, which then keeps the input) when `condition` is false.
#define FUZZ_CHECK(condition)                             \
    do {                                                  \
        if (!(condition)) {                               \
            ::fuzz::fail(__FILE__, __LINE__, #condition); \
        }                                                 \
    } while (false)
