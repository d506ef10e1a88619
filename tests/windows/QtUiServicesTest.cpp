// The window services on Qt: the real message box once (title, text, detail, one OK button,
// modal to Korvale), and the event step of Play.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/QtUiServices.h"

namespace korvale::test {
namespace {

TEST(MessageBoxTest, ShowsTitleTextAndDetailWithOneOkButtonAndNoIcon) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), "Korvale");
        EXPECT_EQ(box->text(), "Error");
        EXPECT_EQ(box->informativeText(), "C:\\UT\\System\\User.ini: <denied>");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
            }
        }
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QtUiServices ui;
    ui.showMessage("Error", "C:\\UT\\System\\User.ini: <denied>");
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtUiServicesTest, ProcessEventsRunsWaitingEventsAndTellsWhenKorvaleIsEnding) {
    QtUiServices ui;
    int runs = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++runs; }, Qt::QueuedConnection);
    EXPECT_TRUE(ui.processEvents());
    EXPECT_EQ(runs, 1);
    QMetaObject::invokeMethod(
        qApp, [&] { ui.setEnding(); }, Qt::QueuedConnection);
    EXPECT_FALSE(ui.processEvents());
}

}  // namespace
}  // namespace korvale::test
