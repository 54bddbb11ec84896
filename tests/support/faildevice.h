#pragma once

#include <QIODevice>

#include <algorithm>

// Passes writes on to the real file until a budget of bytes is spent, then fails as a full disk does:
// the write that crosses the budget comes up short, and the next one fails.
class FailDevice : public QIODevice
{
public:
    FailDevice(QIODevice &target, qint64 budget)
        : m_target(target)
        , m_budget(budget)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_budget <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 written = m_target.write(data, std::min(size, m_budget));
        m_budget -= std::max<qint64>(written, 0);
        return written;
    }

private:
    QIODevice &m_target;
    qint64 m_budget;
};
