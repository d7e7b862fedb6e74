#pragma once

// Runs one of the command-line tools as a process, as from a shell without a display.

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace test {

struct ToolRun {
    int exitCode = -1;  // -1 when the tool crashed or did not finish
    QStringList lines;  // standard output, one entry per non-empty line
    QString errors;
};

// extra: variables set for the tool on top of the test's own environment. inChild, when given,
// runs in the child before the tool starts (to become another user, say): false aborts it.
inline ToolRun RunTool(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory, const QProcessEnvironment& extra = {},
                       bool (*inChild)() = nullptr) {
    QProcess process;
    if (inChild != nullptr) {
        process.setChildProcessModifier([inChild] {
            if (!inChild()) ::_exit(127);
        });
    }
    process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert(extra);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(60000)) return run;
    if (process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

}  // namespace test
