#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <QStringList>

#include "app/DisplayCheck.h"

namespace korvale {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Whether Qt has a platform plugin of that name: linked in (the release's static Qt), or in a
// folder where Qt looks for one. Asked of the plugins' own data, without loading them.
bool hasPlatformPlugin(const QString& name) {
    const auto offers = [&name](const QJsonObject& data) {
        return data.value(u"IID").toString().contains(u"QPlatformIntegrationFactoryInterface") &&
               data.value(u"MetaData").toObject().value(u"Keys").toArray().contains(name);
    };
    const QList<QStaticPlugin> linked = QPluginLoader::staticPlugins();
    if (std::ranges::any_of(linked, [&](const QStaticPlugin& p) { return offers(p.metaData()); })) {
        return true;
    }
    QStringList folders = QCoreApplication::libraryPaths();
    for (QString& folder : folders) {
        folder += u"/platforms";
    }
    if (const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
        !chosen.isEmpty()) {
        folders.prepend(chosen);
    }
    for (const QString& path : folders) {
        const QDir folder(path);
        for (const QString& file : folder.entryList(QDir::Files)) {
            if (QLibrary::isLibrary(file) &&
                offers(QPluginLoader(folder.filePath(file)).metaData())) {
                return true;
            }
        }
    }
    return false;
}

// The platforms named ("name:options;..."), without those Qt has no plugin for: Qt would pass
// over them too, but not without a word. X when none is left.
std::string withPlugins(const std::string& named) {
    QStringList kept;
    for (const QString& entry : QString::fromLocal8Bit(named).split(u';', Qt::SkipEmptyParts)) {
        if (hasPlatformPlugin(entry.section(u':', 0, 0).toLower())) {
            kept << entry;
        }
    }
    return named.empty() || !kept.isEmpty() ? kept.join(u';').toLocal8Bit().toStdString() : "xcb";
}

}  // namespace

DisplayCheck::DisplayCheck() {
    std::string named = environment("QT_QPA_PLATFORM");
    if (named.empty() &&
        (!environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland")) {
        named = "wayland;xcb";  // what Qt tries on a Wayland desktop
    }
    const std::string platform = withPlugins(named);
    if (platform != named) {
        ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    }
    if (!platform.empty() && !platform.starts_with("xcb")) {
        return;  // another platform: Qt finds its own way there
    }
    const std::string display = environment("DISPLAY");
    // The connection Qt's X11 platform would make first, tried the way it tries it.
    if (!display.empty()) {
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        m_connection.reset(connection, xcb_disconnect);
        if (xcb_connection_has_error(connection) == 0) {
            return;
        }
    }
    m_problem = display.empty()
                    ? "korvale: no display: DISPLAY is not set; start Korvale from a desktop "
                      "session, or under a virtual X server (xvfb-run korvale)"
                    : "korvale: no display: cannot connect to the X display \"" + display +
                          "\"; start Korvale from a desktop session, or under a virtual X server "
                          "(xvfb-run korvale)";
}

}  // namespace korvale
