// Korvale: switches the Unreal Tournament profile between identities and starts the game.
#include <cstdio>
#include <string>
#include <string_view>

#include <QApplication>
#include <QFile>
#include <QIcon>

#include "korvale_version.h"

#include "platform/files/FileSystem.h"
#include "platform/host/NativeFileOps.h"
#include "platform/host/NativeHostEnvironment.h"
#include "platform/host/NativeLauncher.h"
#include "platform/host/NativeShortcuts.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "windows/FormLayout.h"
#include "app/PlayByName.h"
#include "ui/QtText.h"
#include "ui/QtUiServices.h"
#include "windows/WindowManager.h"

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Korvale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVALE_VERSION));
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// Help, version or a wrong argument: said, and the program ends.
int answer(const korvale::CommandLine& line) {
    const bool usage = line.action == korvale::CommandLine::Action::Usage;
    print(usage ? stderr : stdout, line.text);
    return usage ? 2 : 0;
}

// Message boxes, each also written on standard error: a Play by name is run from a shortcut or a
// terminal, and either may be watching.
class EchoingUi final : public korvale::UiServices {
public:
    explicit EchoingUi(korvale::UiServices& ui) : m_ui(ui) {}

    void showMessage(std::string_view text, std::string_view detail) override {
        std::string line = "korvale: " + std::string(text) + '\n';
        if (!detail.empty()) {
            line += std::string(detail) + '\n';
        }
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        m_ui.showMessage(text, detail);
    }
    bool processEvents() override { return m_ui.processEvents(); }

private:
    korvale::UiServices& m_ui;
};

}  // namespace

int main(int argc, char* argv[]) {
    using Action = korvale::CommandLine::Action;
    const korvale::DisplayCheck display;  // kept until Qt has its own connection
    if (const std::string& problem = display.problem(); !problem.empty()) {
        // Help and version need no display.
        const QCoreApplication app(argc, argv);
        nameApplication();
        const korvale::CommandLine line = korvale::parseCommandLine(QCoreApplication::arguments());
        if (line.action == Action::Print || line.action == Action::Usage) {
            return answer(line);
        }
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    nameApplication();
    const korvale::CommandLine line = korvale::parseCommandLine(QCoreApplication::arguments());
    if (line.action == Action::Print || line.action == Action::Usage) {
        return answer(line);
    }

    korvale::NativeFileOps ops;
    const korvale::FileSystem files(ops, korvale::NativeFileOps::programFolder());
    korvale::QtUiServices ui;
    korvale::NativeLauncher launcher;
    // The boxes carry Korvale's icon, as the windows do, and so do the shortcuts.
    Q_INIT_RESOURCE(korvale);
    QApplication::setWindowIcon(QIcon(korvale::toQString(korvale::kIconResource)));
    QFile icon(korvale::toQString(korvale::kIconResource));
    const korvale::NativeShortcuts shortcuts = korvale::NativeShortcuts::forThisProgram(
        icon.open(QIODevice::ReadOnly) ? icon.readAll().toStdString() : std::string());
    korvale::Identities identities(files, &shortcuts);
    if (line.action == Action::Play) {
        EchoingUi echoing(ui);
        const korvale::NativeHostEnvironment host;
        return korvale::playByName(line.name, files, identities, echoing, launcher, host) ? 0 : 1;
    }
    korvale::WindowManager windows(files, identities, ui, launcher);
    windows.showMainWindow();
    return QApplication::exec();
}
