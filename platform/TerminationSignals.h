// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the thread that made this object, so that an
// end asked for by the system (logout, shut-down, Ctrl+C) runs the program's own shut-down.
// The handler only writes to a pipe, which is all a signal handler may safely do. A second
// request of the same kind ends the process at once, should the shut-down hang. One object
// per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
