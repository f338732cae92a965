// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

// A failure of the serial port layer: a code from the table below and its text, followed by
// the system's error number where a system call failed.
class EComPort : public std::runtime_error
{
public:
    enum Code
    {
        CE_OpenFailed = 1,
        CE_ReadFailed = 3,
        CE_PurgeFailed = 5,
        CE_SetStateFailed = 7,
        CE_SetTimeoutsFailed = 8,
        CE_SetupComFailed = 9,
        CE_ClearComFailed = 10,
        CE_ModemStatFailed = 11,
        CE_RegError = 23,
    };

    EComPort(int code, int systemError);
    explicit EComPort(int code);

    int Code() const { return m_code; }
    // 0 where no system call failed.
    int WinCode() const { return m_winCode; }
    QString Message() const { return QString::fromUtf8(what()); }

    static QString codeText(int code);

private:
    int m_code;
    int m_winCode;
};
