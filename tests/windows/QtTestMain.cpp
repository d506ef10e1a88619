// One QApplication for the whole suite, on the offscreen platform unless told otherwise, so the
// tests run without a display (and gtest can list them at build time).
#include <QApplication>
#include <QTemporaryDir>

#include <gmock/gmock.h>

namespace {

// The offscreen platform cannot raise a window; saying so for every window shown is only noise.
QtMessageHandler g_standardHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("does not support raise()"))) {
        return;
    }
    g_standardHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    g_standardHandler = qInstallMessageHandler(QuietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Shortcuts the tests make go to a folder of the run's own, not the user's menu.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
