#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line: the addresses to open (file paths
// turned into file addresses), a program folder, or only to print its help or version.
class CommandLine
{
public:
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    // arguments as the process got them, the program name first; relative file paths are taken
    // from workingDir.
    static CommandLine parse(const QStringList &arguments, const QString &workingDir);

    // An existing file (relative to workingDir) becomes a file address; anything else is taken
    // as an address the way the address box takes typed text.
    static QString toAddress(const QString &argument, const QString &workingDir);

    static QString version();

    Action action() const { return action_; }
    const QStringList &addresses() const { return addresses_; }
    const QString &appDir() const { return appDir_; }

    // What to print before leaving when action() is not Run, and the exit code to leave with.
    const QString &output() const { return output_; }
    int exitCode() const { return action_ == Action::Fail ? 2 : 0; }

private:
    Action action_ = Action::Run;
    QStringList addresses_;
    QString appDir_;
    QString output_;
};
