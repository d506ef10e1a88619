#include "windows/FrmSetDir.h"

#include <optional>
#include <string>
#include <utility>

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/files/Text.h"
#include "settings/FileErrorMessage.h"
#include "windows/FolderOffer.h"
#include "windows/FormLayout.h"
#include "ui/QtText.h"
#include "windows/TypedText.h"

namespace korvale {

namespace {

// One row a control, as the window was designed: name, text, {left, top, width, height} in
// twips, tab order (0: takes no focus), then font and alignment.
// clang-format off
constexpr ControlSpec kControls[] = {
    {"Label1", "Please Select the Unreal Tournament Directory", {120, 120, 4335, 255}, 0, {},
     Qt::AlignHCenter},
    {"txtUTDir", "C:\\Games\\UnrealTournament", {120, 720, 4455, 375}, 1},
    {"cmdDirSave", "&Save", {2520, 1200, 2055, 495}, 2},
    {"cmdExit", "&Exit", {120, 1200, 2055, 495}, 3},
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

FrmSetDir::FrmSetDir(GameFolder& folder, const FileSystem& files, UiServices& ui,
                     FindGames findGames)
    : m_gameFolder(folder),
      m_files(files),
      m_ui(ui),
      m_findGames(std::move(findGames)),
      m_label1(new QLabel(this)),
      m_txtUTDir(new QLineEdit(this)),
      m_cmdDirSave(new QPushButton(this)),
      m_cmdExit(new QPushButton(this)) {
    buildDialog(*this, kLayout, {m_label1, m_txtUTDir, m_cmdDirSave, m_cmdExit});
    m_label1->setBuddy(m_txtUTDir);  // names the box to screen readers
    connect(m_cmdDirSave, &QPushButton::clicked, this, &FrmSetDir::onSave);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
}

void FrmSetDir::load() {
    bool stored = false;
    try {
        m_gameFolder.createIfMissing();
        if (const auto line = m_gameFolder.ReadUTDirLine()) {
            m_txtUTDir->setText(latin1ToQString(trim(*line)));
            stored = !trim(*line).empty();
        }
    } catch (const FileError& error) {
        showFileError(m_ui, m_files, "Korvale could not read its game folder setting.", error);
    }
    // Once the dialog is on screen: it never waits for the search.
    QTimer::singleShot(0, this, [this, stored] {
        QStringList folders;
        for (const std::string& found : m_findGames()) {
            // A folder UTDir.ini cannot keep is no offer.
            if (const QString folder = toQString(found); fitsOneLatin1Line(folder)) {
                folders.append(folder);
            }
        }
        m_offer = new FolderOffer(folders, *m_txtUTDir);
        // Dropped before its window is active, the list would take the keys from the box.
        m_dropWhenActive = !stored;
        if (isActiveWindow()) {
            dropOffer();
        }
    });
}

void FrmSetDir::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        dropOffer();
    }
}

void FrmSetDir::dropOffer() {
    if (m_offer != nullptr && std::exchange(m_dropWhenActive, false)) {
        m_offer->drop();
    }
}

void FrmSetDir::onSave() {
    const QString text = m_txtUTDir->text();
    if (const std::optional<TextRefusal> refused = refusal(text, kFolderRule)) {
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
    emit saved();
    close();
}

}  // namespace korvale
