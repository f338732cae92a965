// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <algorithm>
#include <cstring>

// A file's bytes as a source that reads only the first `good` of them and then fails
// (or, with `fails` false, just ends), while its size claims them all.
class FailingSource : public QIODevice
{
public:
    FailingSource(QByteArray bytes, qint64 good, bool fails)
        : m_bytes(std::move(bytes)), m_good(good), m_fails(fails)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = std::min(maxSize, std::min<qint64>(m_good, m_bytes.size()) - m_pos);
        if (count <= 0)
            return m_fails ? -1 : 0;
        memcpy(data, m_bytes.constData() + m_pos, count);
        m_pos += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_good;
    bool m_fails;
    qint64 m_pos = 0;
};
