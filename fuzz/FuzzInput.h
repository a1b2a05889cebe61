// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz targets' view of an input: small values taken from its front, so that libFuzzer's
// mutations of single bytes change single settings, and the rest as free bytes. Reading past
// the end gives zeros, never an error.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool flag() { return byte() & 1; }
    // A value in lo..hi.
    int intIn(int lo, int hi)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | byte();
        return lo + int(v % std::uint32_t(hi - lo + 1));
    }
    // Any bit pattern, NaN and infinities included.
    double rawDouble()
    {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = (bits << 8) | byte();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Mostly ordinary numbers (a mantissa times a power of ten), sometimes any bit pattern.
    double number()
    {
        if (byte() < 32)
            return rawDouble();
        const int mantissa = intIn(-99999, 99999);
        const int exponent = intIn(-320, 310);
        return mantissa * std::pow(10.0, exponent);
    }
    // A text of up to maxBytes bytes read as UTF-8 (invalid sequences become replacements).
    QString text(int maxBytes)
    {
        const int n = intIn(0, maxBytes);
        return QString::fromUtf8(bytes(n));
    }
    QByteArray bytes(qsizetype count)
    {
        const qsizetype n = std::min<qsizetype>(count, qsizetype(m_size - m_pos));
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), n);
        m_pos += std::size_t(n);
        return out;
    }
    QByteArray rest() { return bytes(qsizetype(m_size - m_pos)); }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A broken promise of the code under test: reported and aborted, so that libFuzzer keeps the
// input and the regression test fails.
#define FUZZ_REQUIRE(condition, what)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
