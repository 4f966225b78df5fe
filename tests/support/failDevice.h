#pragma once
// A memory device whose writes fail once a given number of bytes has been
// written, to prove that every writer reports a full disk or a lost device.

#include <QBuffer>

class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 failAfter) : m_failAfter(failAfter) {}
    // Bytes accepted before the failure.
    qint64 accepted() const { return buffer().size(); }

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    qint64 m_failAfter;
};
