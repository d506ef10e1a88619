#include "settings/GameFolder.h"

#include "platform/Text.h"

namespace korvale {

namespace {
constexpr std::string_view kSettingFileName = "UTDir.ini";
}

void SetDirIniPath(const FileSystem& files) {
    gDirIniPath = files.ProgramFile(kSettingFileName);
}

void LoadUTDir(const FileSystem& files, UiServices& ui) {
    if (!files.FileExists(gDirIniPath)) {
        files.CreateTextFile(gDirIniPath).Close();
        return;
    }
    if (auto line = ReadUTDirLine(files)) {
        gUTDir = std::move(*line);
    }
    if (Trim(gUTDir).empty()) {
        ui.ShowMessage("The Path to UT Needs to be set");
    }
}

std::optional<std::string> ReadUTDirLine(const FileSystem& files) {
    const File file = files.GetFile(gDirIniPath);
    if (file.Size() == 0) {
        return std::nullopt;
    }
    TextStream stream = file.OpenAsTextStream(IOMode::ForReading);
    std::string line = stream.ReadLine();
    stream.Close();
    return line;
}

void SaveUTDir(const FileSystem& files, std::string_view folder) {
    const std::string_view trimmed = Trim(folder);
    files.ReplaceWhole(gDirIniPath, trimmed);
    gUTDir = trimmed;
}

std::string UTGamePath(std::string_view folder, std::string_view relative) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    path += relative;
    return path;
}

std::string UTGamePath(std::string_view relative) {
    return UTGamePath(gUTDir, relative);
}

}  // namespace korvale
