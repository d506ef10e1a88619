// Every window as a screen reader reads it, through Qt's accessibility layer in this process: no
// password anywhere, one list item per player, and every list and box named by its label.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gmock/gmock.h>

#include "WindowsTest.h"

namespace korvale::test {
namespace {

const QStringList kPasswords = {"Xq7secret", "Zz9hidden", "Kp4covert"};

// What a box or list says it is: the name it gives, or the label it is labelled by.
QString LabelOf(QAccessibleInterface& node) {
    for (const auto& [label, relation] : node.relations(QAccessible::Label)) {
        if (!label->text(QAccessible::Name).isEmpty()) {
            return label->text(QAccessible::Name);
        }
    }
    // A name that only repeats the content labels nothing.
    const QString name = node.text(QAccessible::Name);
    return name == node.text(QAccessible::Value) ? QString() : name;
}

struct Walk {
    std::vector<std::string> leaks;             // "where: text"
    std::map<std::string, std::string> labels;  // box or list, by object name: what it says it is
    int mostItems = 0;                          // the most list items under one node
    std::set<std::string> inGame;               // the items described as the game's player

    void visit(QAccessibleInterface* node, const QString& path) {
        if (node == nullptr || !node->isValid()) {
            return;
        }
        const QString name = node->object() != nullptr ? node->object()->objectName() : QString();
        const QString here =
            path + u'/' + (name.isEmpty() ? QString::number(int(node->role()), 16) : name);
        QStringList texts;
        for (const QAccessible::Text kind :
             {QAccessible::Name, QAccessible::Value, QAccessible::Description, QAccessible::Help}) {
            texts.append(node->text(kind));
        }
        if (QAccessibleTextInterface* text = node->textInterface()) {
            texts.append(text->text(0, text->characterCount()));
        }
        for (const QString& text : texts) {
            for (const QString& password : kPasswords) {
                if (text.contains(password)) {
                    leaks.push_back((here + QStringLiteral(": ") + text).toStdString());
                }
            }
        }
        const QAccessible::Role role = node->role();
        if (node->text(QAccessible::Description) == u"In the game now") {
            inGame.insert(node->text(QAccessible::Name).toStdString());  // a list may be seen twice
        }
        const bool editBox =
            role == QAccessible::EditableText &&
            (node->parent() == nullptr || node->parent()->role() != QAccessible::ComboBox);
        if ((role == QAccessible::ComboBox || editBox) && node->object() != nullptr) {
            labels[node->object()->objectName().toStdString()] = LabelOf(*node).toStdString();
        }
        int items = 0;
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            items += child != nullptr && child->role() == QAccessible::ListItem ? 1 : 0;
            visit(child, here);
        }
        mostItems = std::max(mostItems, items);
    }
};

class AccessibilityTest : public WindowsTest {};

TEST_F(AccessibilityTest, NoPasswordAnyWhereOneItemAPlayerAndEveryBoxLabelled) {
    WriteBytes(ProgramPath("User.ini"), "Alpha,Xq7secret\r\nBeta,Zz9hidden\r\nGamma,Kp4covert");
    WriteBytes(ProgramPath("UTDir.ini"), GameFolderText());
    WriteBytes(SystemPath("User.ini"), "[DefaultPlayer]\r\nName=Beta\r\nngWorldSecret=Zz9hidden");
    Start();
    Activate(MainWindow());
    auto* users = Child<QComboBox>(MainWindow(), "cboUsers");
    ASSERT_NE(users, nullptr);
    QTest::keyClick(users, Qt::Key_Down);
    QTest::keyClick(users, Qt::Key_Down);  // Beta picked: its password is the selected one
    users->showPopup();                    // and the list dropped down
    for (const char* dialog : {"frmuserpass", "frmSetDir", "frmAbout"}) {
        ASSERT_NE(Open(dialog), nullptr);
    }

    Walk walk;
    // Every window, shown or not, and what each holds.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        walk.visit(QAccessible::queryAccessibleInterface(window), window->objectName());
    }
    users->hidePopup();
    EXPECT_THAT(walk.leaks, ::testing::IsEmpty());
    EXPECT_EQ(walk.mostItems, 3) << "one item for each of the three players";
    EXPECT_EQ(walk.inGame, std::set<std::string>{"Beta"});
    EXPECT_EQ(walk.labels, (std::map<std::string, std::string>{
                               {"cboUsers", "UT User"},
                               {"txtUtPlayer", "UT Player Name"},
                               {"txtUtPassword", "UT NGStats Password"},
                               {"txtUTDir", "Please Select the Unreal Tournament Directory"},
                           }));
}

}  // namespace
}  // namespace korvale::test
