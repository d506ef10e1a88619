#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace korvale {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Switches the Unreal Tournament profile to an identity and starts the game.\n"
        "Without options, Korvale opens its window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption play(
        QStringLiteral("play"),
        QStringLiteral("Plays as the identity named NAME (exactly, letter case counts), "
                       "without opening the window, then ends: status 0 when the game was "
                       "started, 1 when it was not."),
        QStringLiteral("NAME"));
    parser.addOption(play);

    CommandLine line;
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.positionalArguments().isEmpty()
                                  ? parser.errorText()
                                  : QStringLiteral("Unexpected argument '%1'.")
                                        .arg(parser.positionalArguments().constFirst());
        line.action = CommandLine::Action::Usage;
        line.text = QStringLiteral("korvale: %1\n\n%2").arg(error, parser.helpText());
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        line.action = CommandLine::Action::Print;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Print;
        line.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                  QCoreApplication::applicationVersion());
    } else if (parser.isSet(play)) {
        line.action = CommandLine::Action::Play;
        line.name = parser.value(play);
    }
    return line;
}

}  // namespace korvale
