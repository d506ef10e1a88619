#pragma once

#include <string_view>

#include <QStringList>

class QWidget;

namespace korvale::test {

// Object names of the top-level windows on screen, sorted.
QStringList VisibleWindows();
// The top-level window of that object name, the one shown when there is one; null when there is
// none.
QWidget* TopLevelWindow(std::string_view name);

}  // namespace korvale::test
