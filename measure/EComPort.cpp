// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/EComPort.h"

namespace {

std::string messageOf(int code, int systemError)
{
    QString text = EComPort::codeText(code);
    if (systemError != 0)
        text += QStringLiteral(" (win error code: %1)").arg(systemError);
    return text.toStdString();
}

} // namespace

EComPort::EComPort(int code, int systemError)
    : std::runtime_error(messageOf(code, systemError)), m_code(code), m_winCode(systemError)
{
}

EComPort::EComPort(int code) : EComPort(code, 0) {}

QString EComPort::codeText(int code)
{
    switch (code) {
    case CE_OpenFailed:
        return QStringLiteral("Unable to open com port");
    case CE_ReadFailed:
        return QStringLiteral("ReadFile function failed");
    case CE_PurgeFailed:
        return QStringLiteral("PurgeComm function failed");
    case CE_SetStateFailed:
        return QStringLiteral("SetCommState function failed");
    case CE_SetTimeoutsFailed:
        return QStringLiteral("SetCommTimeouts failed");
    case CE_SetupComFailed:
        return QStringLiteral("SetupComm function failed");
    case CE_ClearComFailed:
        return QStringLiteral("ClearCommError function failed");
    case CE_ModemStatFailed:
        return QStringLiteral("GetCommModemStatus function failed");
    case CE_RegError:
        return QStringLiteral("Registry error");
    default:
        return QString();
    }
}
