// Makes the desktop entry that plays as an identity, through Korvale's own code, for the
// end-to-end run. Usage: korvale_make_shortcut <korvale> <applications folder> <Latin-1 name>
#include <cstdio>

#include <QCoreApplication>

#include "windows/Shortcuts.h"

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    if (argc != 4) {
        return 2;
    }
    std::puts(korvale::Shortcuts(argv[1], argv[2]).make(argv[3]).c_str());
    return 0;
}
