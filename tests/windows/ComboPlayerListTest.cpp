// The player list over a QComboBox: order, pairing, selection and Latin-1 texts.
#include <string>
#include <vector>

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "windows/ComboPlayerList.h"
#include "windows/QtText.h"

namespace korvale::test {
namespace {

std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) {
        items.push_back(combo.itemText(i).toStdString());
    }
    return items;
}

class ComboPlayerListTest : public ::testing::Test {
protected:
    QComboBox m_combo;
    ComboPlayerList m_list{m_combo};
};

TEST_F(ComboPlayerListTest, InsertsInOrderAtTheIndexAndNeverSorts) {
    m_list.Insert(0, std::vector<std::string>{"zed", "amy"});
    m_list.Insert(1, "mid");
    m_list.Insert(3, "end");
    m_list.Insert(0, "amy");
    EXPECT_EQ(Items(m_combo), (std::vector<std::string>{"amy", "zed", "mid", "amy", "end"}));
    EXPECT_EQ(m_list.Count(), 5u);
}

TEST_F(ComboPlayerListTest, InsertingSelectsNothingAndKeepsWhatWasTyped) {
    m_list.Insert(0, "first");
    EXPECT_EQ(m_list.SelectedIndex(), -1);
    EXPECT_EQ(m_list.Text(), "");
    m_combo.setEditText("half");
    m_list.Insert(0, std::vector<std::string>{"a", "b"});
    EXPECT_EQ(m_list.SelectedIndex(), -1);
    EXPECT_EQ(m_list.Text(), "half");
}

TEST_F(ComboPlayerListTest, ASelectionFollowsItsEntryWhenOthersAreInsertedBefore) {
    m_list.Insert(0, std::vector<std::string>{"a", "b", "c"});
    m_list.SetSelectedIndex(1);
    EXPECT_EQ(m_list.Text(), "b");
    m_list.Insert(0, "new");
    EXPECT_EQ(m_list.SelectedIndex(), 2);
    EXPECT_EQ(m_list.Text(), "b");
    m_list.SetSelectedIndex(-1);
    EXPECT_EQ(m_list.SelectedIndex(), -1);
}

TEST_F(ComboPlayerListTest, EveryLatin1ByteComesBackAsItWent) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    m_list.Insert(0, all);
    m_list.SetSelectedIndex(0);
    EXPECT_EQ(m_list.Text(), all);
    EXPECT_EQ(m_combo.itemText(0), FromLatin1(all));
}

TEST_F(ComboPlayerListTest, TypingNeverAddsAnEntry) {
    m_list.Insert(0, "a");
    m_combo.lineEdit()->setText("typed");
    emit m_combo.lineEdit()->returnPressed();
    emit m_combo.lineEdit()->editingFinished();
    EXPECT_EQ(Items(m_combo), std::vector<std::string>{"a"});
    EXPECT_EQ(m_list.SelectedIndex(), -1);
}

TEST(QtTextTest, Latin1ConversionIsCheckedOnTheWayBack) {
    struct Row {
        const char* name;
        QString text;
        std::optional<std::string> bytes;
        QString firstBeyond;
    };
    const Row rows[] = {
        {"plain", QStringLiteral("abc"), "abc", {}},
        {"accents", QString::fromUtf8("Jérôme ÿ"), "J\xe9r\xf4me \xff", {}},
        {"euro", QString::fromUtf8("5€"), std::nullopt, QString::fromUtf8("€")},
        {"emoji", QString::fromUtf8("a\xF0\x9F\x98\x80"), std::nullopt,
         QString::fromUtf8("\xF0\x9F\x98\x80")},
        {"empty", QString(), "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ToLatin1(row.text), row.bytes);
        EXPECT_EQ(FirstNonLatin1(row.text), row.firstBeyond);
        if (row.bytes) {
            EXPECT_EQ(FromLatin1(*row.bytes), row.text);
        }
    }
}

TEST(QtTextTest, BlankMeansSpacesOnly) {
    EXPECT_TRUE(IsBlank(QString()));
    EXPECT_TRUE(IsBlank(QStringLiteral("   ")));
    EXPECT_FALSE(IsBlank(QStringLiteral("\t")));
    EXPECT_FALSE(IsBlank(QStringLiteral(" a ")));
}

}  // namespace
}  // namespace korvale::test
