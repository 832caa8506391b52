#include "warehouse/AnsiTextFile.h"

#include "warehouse/StatementWatch.h"

namespace {

// The bytes 0x80 to 0x9F of Windows-1252 hold these characters (0 where the byte is unassigned).
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ansiByte(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return char(code);
    for (int i = 0; i < 32; ++i)
        if (kHighControlRange[i] != 0 && kHighControlRange[i] == code)
            return char(0x80 + i);
    return '?';
}

// Flush to the file every so many bytes, so a long export keeps little in memory.
constexpr qsizetype kFlushBytes = 1 << 16;

} // namespace

AnsiTextFile::AnsiTextFile(const QString &path)
    : m_file(path)
{}

bool AnsiTextFile::open()
{
    m_failed = !m_file.open(QIODevice::WriteOnly);
    if (m_failed)
        m_error = m_file.errorString();
    return !m_failed;
}

void AnsiTextFile::appendEncoded(QByteArray &bytes, QStringView text)
{
    // At most one byte a UTF-16 unit: room for them all, written in place (an append a byte
    // checked the array's room on each), then cut to what was written.
    const qsizetype start = bytes.size();
    const qsizetype size = text.size();
    bytes.resize(start + size);
    char *const first = bytes.data();
    char *out = first + start;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            *out++ = char(unit);
            continue;
        }
        // Whole code points, so a character beyond the basic plane gives one "?", not two.
        char32_t code = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(unit, text[++i].unicode());
        *out++ = ansiByte(code);
    }
    bytes.resize(out - first);
}

void AnsiTextFile::write(QStringView text)
{
    // After a failure nothing more reaches the file; the text is dropped rather than kept.
    if (m_failed)
        return;
    appendEncoded(m_buffer, text);
    if (m_buffer.size() >= kFlushBytes)
        flush();
}

void AnsiTextFile::flush()
{
    if (!m_failed && !m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size()) {
        m_failed = true;
        m_error = m_file.errorString();
    }
    m_buffer.clear();
}

bool AnsiTextFile::commit()
{
    flush();
    if (m_failed) {
        // Cancelling replaces the file's error with its own; the cause is kept for errorString().
        m_file.cancelWriting();
        return false;
    }
    // The file's sync to disk, and the rename over an old file of the same size, take tens of
    // milliseconds for a large one: beside the window, which repaints meanwhile. It goes to its
    // end whatever the operator does, so an Esc meanwhile comes too late to stop the writing.
    bool committed = false;
    StatementWatch::runToEndGivingWay([this, &committed] { committed = m_file.commit(); });
    if (!committed) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

QString AnsiTextFile::errorString() const
{
    return m_error.isEmpty() ? m_file.errorString() : m_error;
}
