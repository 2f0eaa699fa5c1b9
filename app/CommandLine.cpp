#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString appDirName = QStringLiteral("appdir");

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Quillmere, a web browser with many windows in one frame.\n"
                       "A second start with the same program folder hands its addresses "
                       "to the running program."));
    // Not addHelpOption(): its --help-all promises Qt's own options, which are read later.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays this help.")));
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        appDirName, QStringLiteral("Keep the program's files in DIR (as QUILLMERE_APPDIR does)."),
        QStringLiteral("DIR")));
    parser.addPositionalArgument(QStringLiteral("address"),
                                 QStringLiteral("Web addresses or files to open."),
                                 QStringLiteral("[address...]"));
}

// The usage line names the program as it was started, which Qt only knows once an
// application object exists; the command line is read before that.
QString helpText(QCommandLineParser &parser, const QString &programName)
{
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), programName);
    return text;
}

} // namespace

QString CommandLine::version()
{
    return QStringLiteral(QUILLMERE_VERSION);
}

CommandLine CommandLine::parse(const QStringList &arguments, const QString &workingDir)
{
    CommandLine result;
    QCommandLineParser parser;
    describe(parser);
    const QString programName =
        QFileInfo(arguments.value(0, QStringLiteral("quillmere"))).fileName();
    if (!parser.parse(arguments)) {
        result.action_ = Action::Fail;
        result.output_ = parser.errorText() + QStringLiteral("\n") + helpText(parser, programName);
        return result;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        result.action_ = Action::ShowHelp;
        result.output_ = helpText(parser, programName);
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.action_ = Action::ShowVersion;
        result.output_ = QStringLiteral("Quillmere %1\n").arg(version());
        return result;
    }
    if (parser.isSet(appDirName))
        result.appDir_ =
            QDir::cleanPath(QDir(workingDir).absoluteFilePath(parser.value(appDirName)));
    for (const QString &argument : parser.positionalArguments()) {
        const QString address = toAddress(argument, workingDir);
        if (!address.isEmpty())
            result.addresses_.append(address);
    }
    return result;
}

QString CommandLine::toAddress(const QString &argument, const QString &workingDir)
{
    const QString text = argument.trimmed();
    if (text.isEmpty())
        return {};
    // A path that names no file yet is still a path; the running program may have another
    // working folder, so it gets the absolute file address.
    const bool pathLike = text.startsWith(u'/') || text.startsWith(QStringLiteral("./")) ||
                          text.startsWith(QStringLiteral("../"));
    const QFileInfo file(QDir(workingDir), text);
    if (pathLike || file.exists())
        return QUrl::fromLocalFile(QDir::cleanPath(file.absoluteFilePath())).toString();
    return text;
}
