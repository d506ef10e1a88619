#pragma once

#include <QString>
#include <QStringList>

namespace korvale {

// What Korvale is asked to do by its arguments: start as usual, play as one identity and end, or
// only print (help, version, or what was wrong with the arguments) and end.
struct CommandLine {
    enum class Action { Start, Play, Print, Usage };

    Action action = Action::Start;
    QString name;  // the identity to play as
    QString text;  // what to print: on standard output for Print, on standard error for Usage
};

// The arguments as Qt gives them (the program first, Qt's own options already taken out).
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace korvale
