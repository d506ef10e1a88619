#include "windows/FrmSetDir.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/files/Text.h"
#include "settings/GameFolder.h"
#include "windows/FileErrorMessage.h"
#include "windows/QtText.h"
#include "windows/WindowManager.h"

namespace korvale {

namespace {

constexpr ControlSpec kControls[] = {
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = "Please Select the Unreal Tournament Directory",
     .rect = {120, 120, 4335, 255},
     .alignment = Qt::AlignHCenter},
    {.name = "txtUTDir",
     .kind = ControlKind::TextBox,
     .text = "C:\\Games\\UnrealTournament",
     .rect = {120, 720, 4455, 375},
     .tabOrder = 1},
    {.name = "cmdDirSave",
     .kind = ControlKind::PushButton,
     .text = "&Save",
     .rect = {2520, 1200, 2055, 495},
     .tabOrder = 2},
    {.name = "cmdExit",
     .kind = ControlKind::PushButton,
     .text = "&Exit",
     .rect = {120, 1200, 2055, 495},
     .tabOrder = 3},
};

constexpr FormLayout kLayout{
    .name = "frmSetDir",
    .title = "Set the UT Directory",
    .clientWidth = 4680,
    .clientHeight = 1830,
    .controls = kControls,
};

}  // namespace

const FormLayout& FrmSetDir::Layout() {
    return kLayout;
}

FrmSetDir::FrmSetDir(WindowManager& windows) : m_windows(windows) {
    ApplyWindowStyle(*this, kLayout);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(kLayout.clientWidth), TwipsToPixels(kLayout.clientHeight));
    BuildControls(kLayout, *this);

    m_folder = findChild<QLineEdit*>(QStringLiteral("txtUTDir"));
    connect(findChild<QPushButton*>(QStringLiteral("cmdDirSave")), &QPushButton::clicked, this,
            [this] { OnSave(); });
    connect(findChild<QPushButton*>(QStringLiteral("cmdExit")), &QPushButton::clicked, this,
            [this] { close(); });
}

void FrmSetDir::Load() {
    const FileSystem& files = m_windows.Files();
    try {
        if (!files.FileExists(gDirIniPath)) {
            files.CreateTextFile(gDirIniPath).Close();
        }
        if (const auto line = ReadUTDirLine(files)) {
            m_folder->setText(FromLatin1(trim(*line)));
        }
    } catch (const FileError& error) {
        ShowFileError(m_windows.Ui(), files, "Korvale could not read its game folder setting.",
                      error);
    }
}

void FrmSetDir::OnSave() {
    const QString text = m_folder->text();
    const auto folder = ToLatin1(text);
    if (!folder) {
        m_windows.Ui().showMessage(
            QStringLiteral("The UT Directory cannot hold the character \"%1\"")
                .arg(FirstNonLatin1(text))
                .toStdString(),
            "Korvale keeps the game folder in Latin-1, as Unreal Tournament's own files do: "
            "Western European letters, digits and signs. Please install the game in a folder "
            "whose path uses only those.");
        return;
    }
    try {
        SaveUTDir(m_windows.Files(), *folder);
    } catch (const FileError& error) {
        ShowFileError(m_windows.Ui(), m_windows.Files(), "The game folder could not be saved.",
                      error);
        return;
    }
    close();
}

}  // namespace korvale
