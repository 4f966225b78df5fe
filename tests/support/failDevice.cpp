#include "support/failDevice.h"

qint64 FailDevice::writeData(const char* data, qint64 len)
{
    if (pos() + len > m_failAfter) {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
    return QBuffer::writeData(data, len);
}
