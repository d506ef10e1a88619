#include "windows/FrmSetDir.h"

#include <optional>
#include <string>

#include <QLineEdit>
#include <QPushButton>

#include "platform/files/Text.h"
#include "windows/FileErrorMessage.h"
#include "windows/FormLayout.h"
#include "windows/QtText.h"
#include "windows/TypedText.h"

namespace korvale {

namespace {

using enum ControlKind;

// One row a control, as the window was designed: name, kind, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font, alignment, word wrap, text colour and the
// control a label names.
// clang-format off
constexpr ControlSpec kControls[] = {
    {"Label1", Label, "Please Select the Unreal Tournament Directory", {120, 120, 4335, 255}, 0,
     {}, Qt::AlignHCenter, false, {}, "txtUTDir"},
    {"txtUTDir", TextBox, "C:\\Games\\UnrealTournament", {120, 720, 4455, 375}, 1},
    {"cmdDirSave", PushButton, "&Save", {2520, 1200, 2055, 495}, 2},
    {"cmdExit", PushButton, "&Exit", {120, 1200, 2055, 495}, 3},
};
// clang-format on

// Name, title, client area width and height in twips, controls.
constexpr FormLayout kLayout{"frmSetDir", "Set the UT Directory", 4680, 1830, kControls};

constexpr TypedTextRule kFolderRule{
    .subject = "The UT Directory",
    .controlDetail =
        "A line break, a tab or another control character (here %1) would split the "
        "line UTDir.ini keeps the folder on.",
    .latin1Detail =
        "Korvale keeps the game folder in Latin-1, as Unreal Tournament's own files "
        "do: Western European letters, digits and signs. Please install the game in a "
        "folder whose path uses only those.",
};

}  // namespace

FrmSetDir::FrmSetDir(GameFolder& folder, const FileSystem& files, UiServices& ui)
    : m_gameFolder(folder), m_files(files), m_ui(ui) {
    buildDialog(*this, kLayout);
    m_folder = &control<QLineEdit>(*this, "txtUTDir");
    connect(&control<QPushButton>(*this, "cmdDirSave"), &QPushButton::clicked, this,
            &FrmSetDir::onSave);
}

void FrmSetDir::load() {
    try {
        m_gameFolder.createIfMissing();
        if (const auto line = m_gameFolder.ReadUTDirLine()) {
            m_folder->setText(latin1ToQString(trim(*line)));
        }
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not read its game folder setting.", error);
    }
}

void FrmSetDir::onSave() {
    const QString text = m_folder->text();
    if (const std::optional<Refusal> refused = refusal(text, kFolderRule)) {
        m_ui.showMessage(refused->text.toStdString(), refused->detail.toStdString());
        return;
    }
    const std::string folder = qStringToLatin1(text).value_or(std::string());
    try {
        m_gameFolder.SaveUTDir(folder);
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "The game folder could not be saved.", error);
        return;
    }
    close();
}

}  // namespace korvale
