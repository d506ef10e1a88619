#include "settings/GameFolder.h"

#include "platform/files/Text.h"

namespace korvale {

namespace {
constexpr std::string_view kSettingFileName = "UTDir.ini";
}  // namespace

GameFolder::GameFolder(const FileSystem& files) : m_files(&files) {}

void GameFolder::SetDirIniPath() {
    m_gDirIniPath = m_files->programFile(kSettingFileName);
}

void GameFolder::LoadUTDir(UiServices& ui) {
    if (createIfMissing()) {
        return;
    }
    refresh();
    if (trim(m_gUTDir).empty()) {
        ui.showMessage("The Path to UT Needs to be set");
    }
}

std::optional<std::string> GameFolder::ReadUTDirLine() const {
    const std::string text = m_files->GetFile(m_gDirIniPath).ReadAll();
    std::optional<std::string> first;
    forEachLine(std::string_view(text), [&](std::string_view line, std::string_view) {
        if (!first) {
            first.emplace(skipByteOrderMark(line));
        }
    });
    return first;
}

void GameFolder::SaveUTDir(std::string_view folder) {
    const std::string_view trimmed = trim(folder);
    m_files->replaceWhole(m_gDirIniPath, trimmed);
    m_gUTDir = trimmed;
}

bool GameFolder::createIfMissing() const {
    if (m_files->FileExists(m_gDirIniPath)) {
        return false;
    }
    m_files->CreateTextFile(m_gDirIniPath).Close();
    return true;
}

void GameFolder::refresh() {
    if (auto line = ReadUTDirLine()) {
        m_gUTDir = std::move(*line);
    }
}

GamePaths GameFolder::gamePaths(const HostEnvironment& host) const {
    GamePaths paths = locateGamePaths(m_gUTDir, *m_files, host);
    // The one place a game path takes the host's form: the launcher and messages get it so.
    for (std::string* path : {&paths.profile, &paths.backup, &paths.program}) {
        *path = m_files->nativePath(*path);
    }
    return paths;
}

}  // namespace korvale
