#include "windows/FormLayout.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "windows/PlayerCombo.h"
#include "windows/QtText.h"

namespace korvale {

namespace {

QWidget* createControl(const ControlSpec& entry, QWidget& client) {
    const QString text = toQString(entry.text);
    switch (entry.kind) {
        case ControlKind::EditableList:
            return new PlayerCombo(&client);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, &client);
            // No button answers Enter: there is no default button in Korvale's windows.
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(text, &client);
            box->setMaxLength(std::numeric_limits<int>::max());
            return box;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(text, &client);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(entry.alignment | Qt::AlignTop);
            label->setWordWrap(entry.wordWrap);
            if (entry.textColour) {
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, QColor(*entry.textColour));
                label->setPalette(palette);
                label->setAutoFillBackground(false);
            }
            return label;
        }
    }
    return nullptr;
}

// Whatever face the host gives, a button's caption is not clipped: its font shrinks to fit.
void fitCaption(QPushButton& button) {
    const QString caption = button.text().remove(QLatin1Char('&'));
    const QStyle& style = *button.style();
    const int room = button.width() - 2 * (style.pixelMetric(QStyle::PM_ButtonMargin) +
                                           style.pixelMetric(QStyle::PM_DefaultFrameWidth));
    QFont font = button.font();
    while (font.pointSizeF() > 6 && QFontMetricsF(font).horizontalAdvance(caption) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    button.setFont(font);
}

// A label names its list or box to screen readers by being its buddy. No label text holds an "&",
// so no access key comes with it.
void labelControls(QWidget& client, const FormLayout& layout) {
    for (const ControlSpec& entry : layout.controls) {
        if (!entry.labelFor.empty()) {
            control<QLabel>(client, entry.name).setBuddy(&control<QWidget>(client, entry.labelFor));
        }
    }
}

}  // namespace

QRect toPixels(const TwipsRect& rect) {
    return QRect(twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
                 twipsToPixels(rect.height));
}

QFont toQFont(const FontSpec& entry) {
    QFont font(toQString(entry.family));
    if (entry.family == "Times New Roman") {
        // Where it is missing (a fresh Wine prefix), faces with its widths, not a wider serif.
        font.setFamilies({font.family(), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif Condensed")});
    }
    font.setPointSizeF(entry.points);
    font.setBold(entry.bold);
    return font;
}

QFont windowFont() {
    QFont font;
    // Microsoft Sans Serif on Windows; elsewhere a face as narrow and with lines as close, so
    // that three lines of text fit where the layouts give them room (DejaVu Sans Condensed
    // before the Arial look-alikes, whose lines stand further apart).
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setPointSizeF(8.25);
    return font;
}

Qt::WindowFlags fixedWindowFlags() {
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

void buildWindow(QWidget& window, QWidget& client, const FormLayout& layout) {
    window.setObjectName(toQString(layout.name));
    window.setWindowTitle(toQString(layout.title));
    window.setWindowFlags(fixedWindowFlags());
    window.setFont(windowFont());
    window.setWindowIcon(QIcon(toQString(kIconResource)));
    client.setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));

    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const ControlSpec& entry : layout.controls) {
        QWidget* control = createControl(entry, client);
        control->setObjectName(toQString(entry.name));
        control->setGeometry(toPixels(entry.rect));
        if (entry.font) {
            control->setFont(toQFont(*entry.font));
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                fitCaption(*button);
            }
        }
        if (entry.tabOrder > 0) {
            tabStops.emplace_back(entry.tabOrder, control);
        } else {
            control->setFocusPolicy(Qt::NoFocus);
        }
    }
    labelControls(client, layout);
    std::ranges::sort(tabStops, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
    if (!tabStops.empty()) {
        tabStops.front().second->setFocus();
    }
}

void buildDialog(QWidget& dialog, const FormLayout& layout) {
    buildWindow(dialog, dialog, layout);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&control<QPushButton>(dialog, "cmdExit"), &QPushButton::clicked, &dialog,
                     &QWidget::close);
}

void centreOnScreen(QWidget& window) {
    // With its native window made, the frame around the client area is known where the host says.
    window.winId();
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect frame = window.frameGeometry();
    const QRect centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frame.size(),
                                              screen->availableGeometry());
    window.move(centred.topLeft());
}

QObject& findControl(const QObject& window, std::string_view name) {
    auto* found = window.findChild<QObject*>(toQString(name));
    if (found == nullptr) {
        throw std::logic_error(window.objectName().toStdString() + " has no control " +
                               std::string(name));
    }
    return *found;
}

}  // namespace korvale
