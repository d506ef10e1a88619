#include "settings/FileErrorMessage.h"

#include <string>

namespace korvale {

void showFileError(UiServices& ui, const FileSystem& files, std::string_view what,
                   const FileError& error) {
    const std::string detail =
        std::string(error.what()) + "\n\nKorvale keeps its two files, UTDir.ini and User.ini, " +
        "beside itself in " + files.nativePath(files.programFolder()) +
        ". If that folder cannot be written, put Korvale in a folder you can write.";
    ui.showMessage(what, detail);
}

}  // namespace korvale
