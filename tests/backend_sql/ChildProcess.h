#pragma once
// Runs backend_sql_child (built beside the tests) and talks to it line by line.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <csignal>

class TChildProcess {
public:
    explicit TChildProcess(const QStringList& Args) {
        m_p.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/backend_sql_child"));
        m_p.setArguments(Args);
        m_p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_p.start();
    }
    ~TChildProcess() {
        if (m_p.state() != QProcess::NotRunning) {
            m_p.kill();
            m_p.waitForFinished(5000);
        }
    }

    // The next line of output (without the newline), or an empty text after the timeout.
    QString ReadLine(int TimeoutMs = 20000) {
        QElapsedTimer t;
        t.start();
        while (!m_p.canReadLine() && t.elapsed() < TimeoutMs && m_p.state() != QProcess::NotRunning)
            m_p.waitForReadyRead(100);
        return m_p.canReadLine() ? QString::fromUtf8(m_p.readLine()).trimmed() : QString();
    }
    // Sends one command line of a script child.
    void Send(const QString& Line) {
        m_p.write((Line + u'\n').toUtf8());
        m_p.waitForBytesWritten(5000);
    }
    // Sends a command and returns the child's answer line.
    QString Ask(const QString& Line, int TimeoutMs = 20000) {
        Send(Line);
        return ReadLine(TimeoutMs);
    }
    // Lets a waiting child finish normally.
    bool Finish() {
        m_p.write("\n");
        m_p.closeWriteChannel();
        return m_p.waitForFinished(20000) && m_p.exitCode() == 0;
    }
    // Ends the child at once, as a crash would.
    void KillHard() {
        ::kill(static_cast<pid_t>(m_p.processId()), SIGKILL);
        m_p.waitForFinished(10000);
    }
    QProcess& Process() { return m_p; }

private:
    QProcess m_p;
};
