#pragma once

#include <string_view>

#include "platform/files/FileError.h"
#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"

namespace korvale {

// Tells the user that one of Korvale's own files could not be used: what failed, the file and the
// system's reason, and where Korvale keeps its files. Korvale then goes on.
void showFileError(UiServices& ui, const FileSystem& files, std::string_view what,
                   const FileError& error);

}  // namespace korvale
