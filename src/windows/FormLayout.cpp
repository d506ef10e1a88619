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

#include "ui/QtText.h"

namespace korvale {

namespace {

// What a row says beyond name, place and font, for the kinds of control Korvale has.
void setUp(QWidget& control, const ControlSpec& entry) {
    const QString text = toQString(entry.text);
    if (auto* button = qobject_cast<QPushButton*>(&control)) {
        button->setText(text);
        // No button answers Enter: there is no default button in Korvale's windows.
        button->setAutoDefault(false);
        button->setDefault(false);
    } else if (auto* box = qobject_cast<QLineEdit*>(&control)) {
        box->setText(text);
        box->setMaxLength(std::numeric_limits<int>::max());
    } else if (auto* label = qobject_cast<QLabel*>(&control)) {
        label->setText(text);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(entry.alignment | Qt::AlignTop);
        label->setWordWrap(entry.wordWrap);
        if (entry.textColour) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(*entry.textColour));
            label->setPalette(palette);
            label->setAutoFillBackground(false);
        }
    }
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

// 15 twips make one pixel at 96 dots per inch; Qt's device-independent pixels are those pixels,
// so a high-DPI screen keeps the proportions.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}

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

// The font of every control that names none: the compact sans serif the layouts were measured
// with, 8.25 points, or the nearest the host has.
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

// A fixed frame with a title and a close box only.
Qt::WindowFlags fixedWindowFlags() {
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

}  // namespace

void buildWindow(QWidget& window, QWidget& client, const FormLayout& layout,
                 std::initializer_list<QWidget*> controls) {
    Q_ASSERT(controls.size() == layout.controls.size());
    window.setObjectName(toQString(layout.name));
    window.setWindowTitle(toQString(layout.title));
    window.setWindowFlags(fixedWindowFlags());
    window.setFont(windowFont());
    window.setWindowIcon(QIcon(toQString(kIconResource)));
    client.setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));

    std::vector<std::pair<int, QWidget*>> tabStops;
    auto control = controls.begin();
    for (const ControlSpec& entry : layout.controls) {
        QWidget& widget = **control++;
        widget.setObjectName(toQString(entry.name));
        widget.setGeometry(toPixels(entry.rect));
        setUp(widget, entry);
        if (entry.font) {
            widget.setFont(toQFont(*entry.font));
            if (auto* button = qobject_cast<QPushButton*>(&widget)) {
                fitCaption(*button);
            }
        }
        if (entry.tabOrder > 0) {
            tabStops.emplace_back(entry.tabOrder, &widget);
        } else {
            widget.setFocusPolicy(Qt::NoFocus);
        }
    }
    std::ranges::sort(tabStops, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
    if (!tabStops.empty()) {
        tabStops.front().second->setFocus();
    }
}

void buildDialog(QWidget& dialog, const FormLayout& layout,
                 std::initializer_list<QWidget*> controls) {
    buildWindow(dialog, dialog, layout, controls);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
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

}  // namespace korvale
