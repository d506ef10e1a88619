#pragma once

#include <functional>
#include <string_view>

#include "platform/files/FileError.h"
#include "platform/files/FileSystem.h"
#include "platform/ports/UiServices.h"

namespace korvale {

// Tells the user that one of Korvale's own files could not be used: what failed, the file and the
// system's reason, and where Korvale keeps its files. Korvale then goes on.
void showFileError(UiServices& ui, const FileSystem& files, std::string_view what,
                   const FileError& error);

// Runs one change of User.ini (PlayerFile): true when it was written. When the file was changed
// outside Korvale, or the write failed ("Error" with its cause), says so and returns false.
bool changePlayerFile(UiServices& ui, const std::function<bool()>& change);

// Runs one change of an identity's shortcuts; a failure says "Error" with its cause.
void changeShortcut(UiServices& ui, const std::function<void()>& change);

}  // namespace korvale
