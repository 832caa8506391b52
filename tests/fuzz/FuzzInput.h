#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// The bytes of one fuzz input as the program's text: decoded as UTF-8 (invalid sequences become
// U+FFFD, as text from any file or the clipboard would).
inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Fields of one input, separated by TAB (a seed file holds one case per line of its fields).
inline QStringList fuzzFields(const uint8_t *data, size_t size)
{
    return fuzzText(data, size).split(QLatin1Char('\t'));
}

// A finding: aborts, so libFuzzer saves the input and the corpus run fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            qFatal("fuzz check failed: %s (%s:%d)", #condition, __FILE__, __LINE__);               \
    } while (false)
